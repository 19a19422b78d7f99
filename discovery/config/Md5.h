#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vanmoor {

// MD5 as RFC 1321 defines it.
struct MD5Context {
    std::uint32_t state[4];  // chaining values A, B, C, D
    std::uint32_t count[2];  // message length in bits, low word first
    std::uint8_t buffer[64]; // partial block not yet transformed
};

void MD5Init(MD5Context& context);
void MD5Update(MD5Context& context, const std::uint8_t* input, std::size_t length);
// Writes the 16-byte digest and clears the context.
void MD5Final(std::uint8_t digest[16], MD5Context& context);

// MD5 of the text's bytes as 32 lowercase hexadecimal characters, without a terminator.
// Returned by value, so concurrent callers do not share a result area.
std::array<char, 32> MD5HexString(std::string_view text);

} // namespace vanmoor
