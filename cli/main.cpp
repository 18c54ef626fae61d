// tessel: converts tagged and text files through the TESSEL_CAT library from
// the command line. See "tessel --help".
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "command_dispatch.h"
#include "exit_codes.h"
#include "platform/safe_files_system.h"
#include "tool_texts.h"

namespace {

// Standard output through stdio as before (line-buffered on a terminal),
// keeping the system's reason of the first failed write: a report that could
// not be written (a full disk, a closed pipe, /dev/full) must end the run with
// that reason, and errno of the failed write is long overwritten by then.
class StandardOutputBuffer : public std::streambuf {
  public:
    // 0, or the errno of the first write that failed.
    int failure() const { return failure_; }

  protected:
    std::streamsize xsputn(const char* text, std::streamsize size) override {
        if (failure_ != 0) return 0;
        errno = 0;
        std::size_t written = std::fwrite(text, 1, static_cast<std::size_t>(size), stdout);
        if (written != static_cast<std::size_t>(size)) noteFailure();
        return static_cast<std::streamsize>(written);
    }

    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        char byte = traits_type::to_char_type(c);
        return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
    }

    int sync() override {
        if (failure_ != 0) return -1;
        errno = 0;
        if (std::fflush(stdout) == 0) return 0;
        noteFailure();
        return -1;
    }

  private:
    void noteFailure() {
        if (failure_ == 0) failure_ = errno != 0 ? errno : EIO;
    }

    int failure_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    // Ctrl-C and SIGTERM end the tool with 130 and 143 at any moment, and
    // take the temporaries being written with them.
    tessel::platform::installInterruptHandlers();
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    StandardOutputBuffer buffer;
    std::ostream out(&buffer);
    int status = tessel::cli::runCli(args, out, std::cerr);
    out.flush();
    if (buffer.failure() != 0) {
        std::cerr << tessel::cli::fill(tessel::cli::text::kStandardOutputFailed,
                                       {std::strerror(buffer.failure())});
        return tessel::cli::kExitUsageError;
    }
    return status;
}
