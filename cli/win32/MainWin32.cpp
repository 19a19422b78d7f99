#include "../Cli.h"
#include "ConsoleModes.h"
#include "SessionEnd.h"
#include "WideText.h"

#include <iostream>

// The arguments as UTF-16 (the program is linked with -municode): the narrow ones come in the
// ANSI code page, which turns most characters a user may type into '?'.
int wmain(int argc, wchar_t** argv) {
    const vanmoor::cli::SessionEndWait sessionEnd;
    const vanmoor::cli::ConsoleModes consoleModes;
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(vanmoor::cli::Utf8FromWide(argv[i]));
    }
    const int status = vanmoor::cli::RunCli(arguments, consoleModes.Streams(std::cout, std::cerr));
    // Out before the end of the session may go on.
    std::cout.flush();
    return status;
}
