// The line-by-line text jobs of arbitrary bytes through
// funciTextReadWriteParser: the Macintosh passes both ways, the two entity
// jobs, and the line-break pass in place with the backup deleted and kept.
// Every run keeps the promises of job_fuzz.h; the in-place pass leaves the
// converted text under the input's name (or the input itself when it
// fails), and its line ends are all CR LF.
#include <array>

#include "job_fuzz.h"
#include "tessel_cat.h"

namespace {

using namespace tessel::fuzz;

const std::vector<int> kFailures = {-101, -102, -103, -105, -106, -107,
                                    -108, -110, -114, -115, -904};

int runEngine(const std::string& input, int code, bool deleteBackup, const char* extension) {
    std::array<char, 300> path{};
    input.copy(path.data(), path.size() - 1);
    return funciTextReadWriteParser(path.data(), code, deleteBackup ? 1 : 0, extension);
}

void runToExtension(const JobFolder& folder, const std::string& bytes, int code,
                    const char* extension, const char* output) {
    folder.clear();
    std::string input = folder.write("doc.txt", bytes);
    int result = runEngine(input, code, true, extension);
    checkJob(folder, {{"doc.txt", bytes}}, result, {output, "doc.ERR", {}, kFailures},
             std::to_string(code).c_str());
}

// The line ends of the pass: the input is read in text mode (CR LF becomes
// LF), then a LF with the CR that may follow it, and a lone CR, each end one
// line, written as CR LF.
std::string withPcLineEnds(const std::string& bytes) {
    std::string read;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        read += bytes[i];
    }
    std::string text;
    for (std::size_t i = 0; i < read.size(); ++i) {
        char c = read[i];
        if (c != '\r' && c != '\n') {
            text += c;
            continue;
        }
        if (c == '\n' && i + 1 < read.size() && read[i + 1] == '\r') ++i;
        text += "\r\n";
    }
    return text;
}

void runInPlace(const JobFolder& folder, const std::string& bytes, bool deleteBackup) {
    folder.clear();
    std::string input = folder.write("doc.txt", bytes);
    int result = runEngine(input, 613, deleteBackup, nullptr);
    Files after = folder.files();
    if (result < 0) {
        require(after == Files{{"doc.txt", bytes}}, "a failed pass must restore the input");
        return;
    }
    Files expected{{"doc.txt", withPcLineEnds(bytes)}};
    if (!deleteBackup) expected["doc.OLD"] = bytes;
    require(after == expected, "the pass in place: converted text and the backup as asked");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const JobFolder folder("text");
    std::string bytes(reinterpret_cast<const char*>(data), size);
    runToExtension(folder, bytes, 610, ".ans", "doc.ans");
    runToExtension(folder, bytes, 611, ".mac", "doc.mac");
    runToExtension(folder, bytes, 901, ".htm", "doc.htm");
    runToExtension(folder, bytes, 903, ".htm", "doc.htm");
    runInPlace(folder, bytes, true);
    runInPlace(folder, bytes, false);
    return 0;
}
