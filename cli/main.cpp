// tessel: converts tagged and text files through the TESSEL_CAT library from
// the command line. See "tessel --help".
#include <iostream>
#include <string>
#include <vector>

#include "command_dispatch.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    int status = tessel::cli::runCli(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
