// tessel: converts tagged and text files through the TESSEL_CAT library from
// the command line. See "tessel --help".
#include <iostream>
#include <string>
#include <vector>

#include "command_dispatch.h"
#include "platform/safe_files_system.h"

int main(int argc, char** argv) {
    // Ctrl-C and SIGTERM end the tool with 130 and 143 at any moment, and
    // take the temporaries being written with them.
    tessel::platform::installInterruptHandlers();
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    int status = tessel::cli::runCli(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
