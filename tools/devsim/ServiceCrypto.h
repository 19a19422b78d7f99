#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vanmoor::devsim {

enum class HashKind { Md5, Sha1, Sha256 };

// The hash of `data` as raw bytes, and as lowercase hexadecimal digits.
std::string HashBytes(HashKind kind, std::string_view data);
std::string HashHex(HashKind kind, std::string_view data);

std::string Base64(std::string_view bytes);
// No value for text that is not Base64.
std::optional<std::string> FromBase64(std::string_view text);

// `count` random bytes as hexadecimal digits.
std::string RandomHex(std::size_t count);

} // namespace vanmoor::devsim
