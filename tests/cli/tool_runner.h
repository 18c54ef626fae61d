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
#endif

class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    std::string path(const std::string& name) const;

  private:
    std::filesystem::path root_;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool exists(const std::string& path);

}  // namespace tessel::cli::testing
