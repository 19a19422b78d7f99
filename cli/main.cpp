#include "Cli.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    const vanmoor::cli::Console console{std::cout,
                                        std::cerr,
                                        isatty(STDOUT_FILENO) == 1,
                                        isatty(STDERR_FILENO) == 1,
                                        isatty(STDIN_FILENO) == 1,
                                        STDOUT_FILENO};
    return vanmoor::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc), console);
}
