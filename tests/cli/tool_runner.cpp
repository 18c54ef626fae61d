#include "tool_runner.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/portable.h"

namespace tessel::cli::testing {

#ifdef _WIN32

namespace {

// One argument of a Windows command line, quoted as the C runtime's parser
// splits it again.
std::string quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string text = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        text.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        text += c;
    }
    text.append(backslashes * 2, '\\');
    return text + "\"";
}

HANDLE inheritable(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
    return ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A Windows console program writes CR LF where the POSIX one writes LF; the
// tests compare the text.
std::string withLineFeeds(std::string text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        plain += text[i];
    }
    return plain;
}

}  // namespace

ToolRun runTool(const std::vector<std::string>& args) {
    ScratchFolder capture;
    std::string outPath = capture.path("stdout"), errPath = capture.path("stderr");
    std::string commandLine = quoted(TESSEL_TOOL_PATH);
    for (const std::string& arg : args) commandLine += " " + quoted(arg);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = inheritable(outPath, GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = inheritable(errPath, GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION process{};
    BOOL started = ::CreateProcessA(TESSEL_TOOL_PATH, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                    nullptr, nullptr, &startup, &process);
    for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
        ::CloseHandle(handle);
    }
    if (!started) throw std::runtime_error("cannot start " TESSEL_TOOL_PATH);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ToolRun run;
    run.exitStatus = static_cast<int>(code);
    run.out = withLineFeeds(readFile(outPath));
    run.err = withLineFeeds(readFile(errPath));
    return run;
}

#else

namespace {

// Starts the tool with standard input from `inPath`, standard output into
// `outPath` and standard error into `errPath`; its process.
pid_t startTool(const std::vector<std::string>& args, const std::string& inPath,
                const std::string& outPath, const std::string& errPath) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, inPath.c_str(), O_RDONLY | O_NOCTTY,
                                     0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY, 0644);

    std::vector<std::string> argvStrings{TESSEL_TOOL_PATH};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvStrings) argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    int spawned = posix_spawn(&pid, TESSEL_TOOL_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " TESSEL_TOOL_PATH);
    return pid;
}

int exitStatusOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Starts the tool with standard input from /dev/null and waits for it.
int spawnTool(const std::vector<std::string>& args, const std::string& outPath,
              const std::string& errPath) {
    pid_t pid = startTool(args, "/dev/null", outPath, errPath);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return exitStatusOf(status);
}

int openTerminal() {
    int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal < 0 || ::grantpt(terminal) != 0 || ::unlockpt(terminal) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    return terminal;
}

// Appends what the terminal holds for its reader to `text`.
void drainTerminal(int terminal, std::string& text) {
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(terminal, buffer, sizeof buffer)) > 0) text.append(buffer, got);
}

}  // namespace

ToolRun runTool(const std::vector<std::string>& args) {
    ScratchFolder capture;
    std::string outPath = capture.path("stdout"), errPath = capture.path("stderr");
    ToolRun run;
    run.exitStatus = spawnTool(args, outPath, errPath);
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    return run;
}

ToolRun runToolBetween(const std::vector<std::string>& args, const std::string& inPath,
                       const std::string& outPath) {
    ScratchFolder capture;
    std::string errPath = capture.path("stderr");
    pid_t pid = startTool(args, inPath, outPath, errPath);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ToolRun run;
    run.exitStatus = exitStatusOf(status);
    run.err = readFile(errPath);
    return run;
}

ToolRun runToolWithOutputTo(const std::vector<std::string>& args, const std::string& outPath) {
    ScratchFolder capture;
    std::string errPath = capture.path("stderr");
    ToolRun run;
    run.exitStatus = spawnTool(args, outPath, errPath);
    run.err = readFile(errPath);
    return run;
}

ToolRun runToolWithTerminalErr(const std::vector<std::string>& args) {
    int terminal = openTerminal();
    ScratchFolder capture;
    std::string outPath = capture.path("stdout");
    ToolRun run;
    run.exitStatus = spawnTool(args, outPath, ::ptsname(terminal));
    run.out = readFile(outPath);
    // The tool has ended: what it wrote waits in the terminal's buffer.
    ::fcntl(terminal, F_SETFL, O_NONBLOCK);
    drainTerminal(terminal, run.err);
    ::close(terminal);
    return run;
}

ToolRun runToolAtTerminal(const std::vector<std::string>& args, const std::string& typed) {
    int terminal = openTerminal();
    ScratchFolder capture;
    std::string outPath = capture.path("stdout");
    // Typed ahead: the terminal keeps the lines until the tool reads them.
    if (::write(terminal, typed.data(), typed.size()) != static_cast<ssize_t>(typed.size())) {
        throw std::runtime_error("cannot type at the pseudo-terminal");
    }
    pid_t pid = startTool(args, ::ptsname(terminal), outPath, ::ptsname(terminal));
    // Read while the tool runs, so that a long prompt never fills the
    // terminal's buffer and stops it.
    ::fcntl(terminal, F_SETFL, O_NONBLOCK);
    ToolRun run;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        drainTerminal(terminal, run.err);
        ::usleep(10000);
    }
    drainTerminal(terminal, run.err);
    ::close(terminal);
    run.exitStatus = exitStatusOf(status);
    run.out = readFile(outPath);
    return run;
}

#endif  // _WIN32

ScratchFolder::ScratchFolder() {
    root_ = tessel::test::makeScratchFolder("tessel_cli_test_");
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string ScratchFolder::path(const std::string& name) const {
    return nativeName(root_ / nativePath(name));
}

std::string nativeName(const std::filesystem::path& path) {
#ifdef _WIN32
    std::wstring wide = path.wstring();
    if (wide.empty()) return {};
    int length = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(),
                          length, nullptr, nullptr);
    return narrow;
#else
    return path.string();
#endif
}

std::filesystem::path nativePath(const std::string& name) {
#ifdef _WIN32
    if (name.empty()) return {};
    int length =
        ::MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(),
                          length);
    return std::filesystem::path(wide);
#else
    return std::filesystem::path(name);
#endif
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool exists(const std::string& path) {
    return std::filesystem::exists(nativePath(path));
}

}  // namespace tessel::cli::testing
