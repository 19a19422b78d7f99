#pragma once

#include <ostream>

namespace vanmoor::cli {

// Where a run of the program writes and what its ends are connected to. Data goes to `out`;
// messages and progress go to `err`.
struct Console {
    std::ostream& out;
    std::ostream& err;
    bool outIsTerminal = false;
    bool errIsTerminal = false;
    bool inIsTerminal = false;
    int outFile = -1; // the descriptor behind `out`, to notice when its reader is gone; -1: none
};

} // namespace vanmoor::cli
