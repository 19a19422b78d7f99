#pragma once

#include <string>
#include <vector>

namespace vanmoor::test {

// The rows of RFC 4180 CSV text with CRLF line ends, each a list of its cells.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text);

} // namespace vanmoor::test
