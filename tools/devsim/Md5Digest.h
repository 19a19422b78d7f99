#pragma once

#include <array>
#include <string_view>

namespace vanmoor::devsim {

// MD5 of `text` as 32 lowercase hexadecimal characters. Computed by OpenSSL, not by the
// library's own MD5, so that a fault there shows as a refused command in the tests.
std::array<char, 32> Md5Hex(std::string_view text);

} // namespace vanmoor::devsim
