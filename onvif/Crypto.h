#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::onvif {

// Hashes and random bytes from the platform: OpenSSL's libcrypto on Linux, BCrypt on Windows.
// Both behave alike, so that the digests the project computes itself are the same everywhere.
enum class HashAlgorithm { Md5, Sha1, Sha256 };

std::vector<std::uint8_t> Hash(HashAlgorithm algorithm, std::span<const std::uint8_t> data);
std::vector<std::uint8_t> Hash(HashAlgorithm algorithm, std::string_view data);

// Lowercase hexadecimal, as HTTP Digest writes its hashes.
std::string HexHash(HashAlgorithm algorithm, std::string_view data);

// Fills `out` from the platform's cryptographic random source; false when that fails, and
// then nothing that needs the bytes may be sent.
bool RandomBytes(std::span<std::uint8_t> out);

} // namespace vanmoor::onvif
