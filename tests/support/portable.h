// What the tests need from the system beyond the standard library, the same
// on POSIX systems and Windows.
#pragma once

#include <fcntl.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <stdlib.h>
#else
#include <unistd.h>

#include <cstdlib>
#endif

// Marks a host hook the test program defines for the library to find.
#ifdef _WIN32
#define TESSEL_TEST_HOST_HOOK extern "C" __declspec(dllexport)
#else
#define TESSEL_TEST_HOST_HOOK extern "C" __attribute__((visibility("default")))
#endif

namespace tessel::test {

inline int processId() {
#ifdef _WIN32
    return ::_getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

inline void setEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    ::_putenv_s(name, value);
#else
    ::setenv(name, value, 1);
#endif
}

inline void unsetEnvironment(const char* name) {
#ifdef _WIN32
    // An empty value removes the variable.
    ::_putenv_s(name, "");
#else
    ::unsetenv(name);
#endif
}

// A new, empty folder in the system's temporary folder, named after `prefix`,
// the process and a counter.
inline std::filesystem::path makeScratchFolder(const std::string& prefix) {
    static std::atomic<int> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() /
            (prefix + std::to_string(processId()) + "_" + std::to_string(counter++));
        std::error_code error;
        if (std::filesystem::create_directory(path, error)) return path;
    }
    throw std::runtime_error("no scratch folder");
}

// Standard input from the null device while it lives: no one at a terminal.
class NullStandardInput {
  public:
#ifdef _WIN32
    NullStandardInput() : saved_(::_dup(0)) {
        int null = ::_open("NUL", _O_RDONLY);
        ::_dup2(null, 0);
        ::_close(null);
    }
    ~NullStandardInput() {
        ::_dup2(saved_, 0);
        ::_close(saved_);
    }
#else
    NullStandardInput() : saved_(::dup(STDIN_FILENO)) {
        int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, STDIN_FILENO);
        ::close(null);
    }
    ~NullStandardInput() {
        ::dup2(saved_, STDIN_FILENO);
        ::close(saved_);
    }
#endif
    NullStandardInput(const NullStandardInput&) = delete;
    NullStandardInput& operator=(const NullStandardInput&) = delete;

  private:
    int saved_;
};

}  // namespace tessel::test
