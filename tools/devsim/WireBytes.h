#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::devsim {

// Byte-for-byte access to datagram fields. Callers check the datagram's length before they read;
// writes grow nothing, so the buffer must already be long enough.
using Bytes = std::vector<std::uint8_t>;

template <std::size_t N>
void PutArray(Bytes& out, std::size_t offset, const std::array<std::uint8_t, N>& value) {
    std::copy(value.begin(), value.end(), out.begin() + static_cast<std::ptrdiff_t>(offset));
}

// Writes at most `width` bytes of `text`; the rest of the field keeps its zeros.
inline void PutText(Bytes& out, std::size_t offset, std::string_view text, std::size_t width) {
    const std::size_t count = std::min(text.size(), width);
    std::copy_n(text.begin(), count, out.begin() + static_cast<std::ptrdiff_t>(offset));
}

inline void PutLittleEndian32(Bytes& out, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

template <std::size_t N>
std::array<std::uint8_t, N> GetArray(std::span<const std::uint8_t> in, std::size_t offset) {
    std::array<std::uint8_t, N> value{};
    std::copy_n(in.begin() + static_cast<std::ptrdiff_t>(offset), N, value.begin());
    return value;
}

// A text field: its bytes up to the first zero, at most `width` of them.
inline std::string GetText(std::span<const std::uint8_t> in, std::size_t offset,
                           std::size_t width) {
    const auto begin = in.begin() + static_cast<std::ptrdiff_t>(offset);
    const auto end = std::find(begin, begin + static_cast<std::ptrdiff_t>(width), 0);
    return std::string(begin, end);
}

inline std::uint32_t GetLittleEndian32(std::span<const std::uint8_t> in, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(in[offset + i]) << (8 * i);
    }
    return value;
}

} // namespace vanmoor::devsim
