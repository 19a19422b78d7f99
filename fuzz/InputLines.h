#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vanmoor::fuzz {

// A fuzz input as lines parted by '\n' (a last line without one counts too).
inline std::vector<std::string> InputLines(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += static_cast<char>(data[i]);
        }
    }
    return lines;
}

} // namespace vanmoor::fuzz
