#include "InputLine.h"

#include <iostream>

namespace vanmoor::cli {

std::string ReadInputLine() {
    std::string line;
    std::getline(std::cin, line);
    return line;
}

} // namespace vanmoor::cli
