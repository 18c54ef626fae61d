#include "verify_test_support.h"

#include "tessel_cat.h"

namespace tessel::test {

namespace fs = std::filesystem;

std::string markUp(const TempDir& dir, const fs::path& source, bool pageMaker,
                   const std::string& name) {
    std::string copy = dir.write(name, readFile(source.string()));
    if (pageMaker) {
        f_iPageMaker2RTF(copy.c_str());
    } else {
        f_iHTML2RTF(copy.c_str(), nullptr);
    }
    std::string stem = fs::path(name).stem().string();
    for (const char* extension : {".rtf", ".RTF"}) {
        if (fs::exists(dir.file(stem + extension))) return dir.file(stem + extension);
    }
    return {};
}

std::string markUpAs(const TempDir& dir, const fs::path& source, std::string_view format,
                     const std::string& name, const std::string& tagFile) {
    const verify::RoundTripFormat* row = verify::findRoundTripFormat(format);
    if (row == nullptr) return {};
    std::string copy = dir.write(name, readFile(source.string()));
    row->markUp(copy.c_str(), tagFile.empty() ? nullptr : tagFile.c_str());
    std::string stem = fs::path(name).stem().string();
    for (const char* extension : {".rtf", ".RTF"}) {
        if (fs::exists(dir.file(stem + extension))) return dir.file(stem + extension);
    }
    return {};
}

void dropFolderPrefix(std::string& line, const std::filesystem::path& folder) {
    const std::string prefix = folder.string();
    if (line.size() > prefix.size() && line.starts_with(prefix) &&
        (line[prefix.size()] == '/' || line[prefix.size()] == '\\')) {
        line.erase(0, prefix.size() + 1);
    }
}

std::vector<std::string> verifyLines(const TempDir& dir, const std::string& original,
                                     const std::string& translated,
                                     const verify::VerifyOptions& options) {
    app::VerifyReport report = app::verifyTranslations({{original, translated}}, options);
    for (std::string& line : report.lines) dropFolderPrefix(line, dir.path());
    return report.lines;
}

std::vector<std::string> findingLines(const TempDir& dir, const std::string& original,
                                      const std::string& translated,
                                      const verify::VerifyOptions& options) {
    std::vector<std::string> lines = verifyLines(dir, original, translated, options);
    lines.pop_back();
    return lines;
}

}  // namespace tessel::test
