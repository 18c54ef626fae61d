#include "core/export_binding.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tessel::app {

namespace {

// The line engine's path argument is a caller buffer of 260 bytes that it
// may overwrite with the output name. Names longer than that still get a
// buffer that holds them and any name formed from them, so an overlong name
// is the library's to refuse and never a write past our buffer.
constexpr std::size_t kPathBufferSize = 260;

std::vector<char> pathBuffer(const ExportRequest& request) {
    std::size_t needed = request.inputPath.size() + request.outputExtension.size() + 2;
    std::vector<char> buffer(std::max(kPathBufferSize, needed), '\0');
    std::copy(request.inputPath.begin(), request.inputPath.end(), buffer.begin());
    return buffer;
}

struct Caller {
    const ExportRequest& request;

    int operator()(const InputOnlyExport& e) const { return e.call(request.inputPath.c_str()); }
    int operator()(const ExtensionExport& e) const {
        return e.call(request.inputPath.c_str(), request.outputExtension.c_str());
    }
    int operator()(const TagFileExport& e) const {
        return e.call(request.inputPath.c_str(), request.tagFilePath.c_str());
    }
    int operator()(const MultiLingualExport& e) const {
        return e.call(request.inputPath.c_str(), request.outputExtension.c_str(), request.codePage,
                      request.charsetName.c_str());
    }
    int operator()(const SgmlJobExport& e) const {
        return e.call(request.inputPath.c_str(), e.functionCode, request.tagFilePath.c_str());
    }
    int operator()(const TextEngineExport& e) const {
        std::vector<char> path = pathBuffer(request);
        const char* extension =
            request.outputExtension.empty() ? nullptr : request.outputExtension.c_str();
        return e.call(path.data(), e.functionCode, request.deleteBackup ? 1 : 0, extension);
    }
    int operator()(const XliffJobExport& e) const {
        const std::string& user =
            request.userInputPath.empty() ? request.inputPath : request.userInputPath;
        return e.call(XliffJob{e.format, request.inputPath, user, request.tagFilePath});
    }
};

}  // namespace

int callExport(const ExportBinding& binding, const ExportRequest& request) {
    return std::visit(Caller{request}, binding);
}

bool convertsInPlaceWithoutExtension(const ExportBinding& binding) {
    return std::holds_alternative<TextEngineExport>(binding);
}

}  // namespace tessel::app
