// Runs the tessel tool as a child process with standard input from
// /dev/null (not a terminal) and collects what it writes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tessel::cli::testing {

struct ToolRun {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

ToolRun runTool(const std::vector<std::string>& args);

#ifndef _WIN32
// As runTool, with standard error on a pseudo-terminal (what it shows is in
// `err`, line ends as the terminal writes them: CR LF).
ToolRun runToolWithTerminalErr(const std::vector<std::string>& args);

// As runTool, with standard input and standard error on one pseudo-terminal
// at which `typed` was typed ahead (what the terminal shows, the echo of the
// typing included, is in `err`).
ToolRun runToolAtTerminal(const std::vector<std::string>& args, const std::string& typed);

// As runTool, with standard output written into `outPath` (a device such as
// /dev/full); `out` stays empty.
ToolRun runToolWithOutputTo(const std::vector<std::string>& args, const std::string& outPath);

// As runTool, with standard input read from the file `inPath` and standard
// output written into `outPath` (a file or a device).
ToolRun runToolBetween(const std::vector<std::string>& args, const std::string& inPath,
                       const std::string& outPath);
#endif

class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    std::string path(const std::string& name) const;

  private:
    std::filesystem::path root_;
};

// The name of `path` in the 8-bit form the tool takes. On Windows that is
// the ANSI code page, which std::filesystem reads names in, while its
// string() gives UTF-8.
std::string nativeName(const std::filesystem::path& path);
// The path of such a name (std::filesystem itself would read the bytes 0x80
// to 0x9F as other characters than the code page has there).
std::filesystem::path nativePath(const std::string& name);

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool exists(const std::string& path);

}  // namespace tessel::cli::testing
