#include "support/reference_pass.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessel::bench {

namespace {

#ifdef TESSEL_BYTELOOP_PATH
constexpr const char* kProgram = TESSEL_BYTELOOP_PATH;
#else
constexpr const char* kProgram = nullptr;
#endif

}  // namespace

bool referencePassAvailable() {
    return kProgram != nullptr;
}

bool runReferencePass(const std::string& from, const std::string& to) {
    if (kProgram == nullptr) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The program prints a checksum; it is not part of the figures.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::string program = kProgram;
    char* argv[] = {program.data(), const_cast<char*>(from.c_str()), const_cast<char*>(to.c_str()),
                    nullptr};
    pid_t child = 0;
    int spawned = posix_spawn(&child, kProgram, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return false;
    int status = 0;
    if (waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace tessel::bench
