// Runs the whole SGML workflow on the input as a file: collects its tags into
// a new tag file, marks it up with that list, extracts its tags. Checks that
// every job ends with a result, that the tag file holds complete tags in
// strictly ascending order, and that the RTF opens and closes its groups in
// pairs.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "rtf_groups.h"
#include "tessel_cat.h"

namespace {

const std::string& folder() {
    static const std::string path = [] {
        char name[] = "/tmp/tessel-fuzz-sgml-XXXXXX";
        if (::mkdtemp(name) == nullptr) std::abort();
        static const std::string made = name;
        std::atexit([] { std::filesystem::remove_all(made); });
        return made;
    }();
    return path;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Lines of the tag file: each a tag (a start, end or declaration from "<",
// unclosed ones included, or the closing "/" of a null end tag or "]]>" of a
// marked section), each higher than the one before.
void checkTagFile(const std::string& bytes) {
    std::string previous;
    bool first = true;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) std::abort();  // every tag ends its line
        std::string tag = bytes.substr(start, end - start);
        bool delimiter = tag == "/" || tag == "]]>";
        if (!delimiter && (tag.size() < 2 || tag.front() != '<')) std::abort();
        if (!first && !(previous < tag)) std::abort();
        previous = tag;
        first = false;
        start = end + 2;
    }
}

void removeOutputs(const std::string& base) {
    for (const char* extension : {".sgm", ".rtf", ".xsg", ".ERR", ".tags"}) {
        std::remove((base + extension).c_str());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string base = folder() + "/input";
    removeOutputs(base);
    {
        std::ofstream out(base + ".sgm", std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::string input = base + ".sgm";
    const std::string tags = base + ".tags";

    int collected = f_iAddUniqueSGMLTagsToFile(input.c_str(), tags.c_str());
    if (collected < 0 && collected != -113) std::abort();
    if (collected != 0 || access(tags.c_str(), F_OK) == 0) {
        checkTagFile(readAll(tags));
        std::remove((base + ".ERR").c_str());
        int marked = f_iSGML2RTF(input.c_str(), tags.c_str());
        if (marked < 0 && marked != -113) std::abort();
        std::string rtf = readAll(base + ".rtf");
        if (rtf.empty() || tessel::fuzz::groupDepth(rtf) != 0) std::abort();
        std::remove((base + ".ERR").c_str());
    }
    int extracted = funciSGMLTextReadWrite(input.c_str(), 802, nullptr);
    if (extracted < 0 && extracted != -113) std::abort();
    removeOutputs(base);
    return 0;
}
