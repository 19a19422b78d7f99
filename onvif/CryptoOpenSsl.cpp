#include "Crypto.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <climits>
#include <stdexcept>

namespace vanmoor::onvif {

namespace {

const EVP_MD* Digest(HashAlgorithm algorithm) {
    switch (algorithm) {
    case HashAlgorithm::Md5:
        return EVP_md5();
    case HashAlgorithm::Sha1:
        return EVP_sha1();
    case HashAlgorithm::Sha256:
        return EVP_sha256();
    }
    throw std::invalid_argument("unknown hash algorithm");
}

} // namespace

std::vector<std::uint8_t> Hash(HashAlgorithm algorithm, std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> digest(EVP_MAX_MD_SIZE);
    unsigned int length = 0;
    if (EVP_Digest(data.data(), data.size(), digest.data(), &length, Digest(algorithm), nullptr) !=
        1)
        throw std::runtime_error("hashing failed");
    digest.resize(length);
    return digest;
}

bool RandomBytes(std::span<std::uint8_t> out) {
    if (out.size() > INT_MAX)
        return false;
    return RAND_bytes(out.data(), static_cast<int>(out.size())) == 1;
}

} // namespace vanmoor::onvif
