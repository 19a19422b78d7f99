#include "Crypto.h"

#include <windows.h>

#include <bcrypt.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <stdexcept>

namespace vanmoor::onvif {

namespace {

struct ProviderClose {
    void operator()(BCRYPT_ALG_HANDLE provider) const { BCryptCloseAlgorithmProvider(provider, 0); }
};
struct HashDestroy {
    void operator()(BCRYPT_HASH_HANDLE hash) const { BCryptDestroyHash(hash); }
};

const wchar_t* AlgorithmName(HashAlgorithm algorithm) {
    switch (algorithm) {
    case HashAlgorithm::Md5:
        return BCRYPT_MD5_ALGORITHM;
    case HashAlgorithm::Sha1:
        return BCRYPT_SHA1_ALGORITHM;
    case HashAlgorithm::Sha256:
        return BCRYPT_SHA256_ALGORITHM;
    }
    throw std::invalid_argument("unknown hash algorithm");
}

bool Succeeded(NTSTATUS status) {
    return status >= 0;
}

} // namespace

std::vector<std::uint8_t> Hash(HashAlgorithm algorithm, std::span<const std::uint8_t> data) {
    BCRYPT_ALG_HANDLE opened = nullptr;
    if (!Succeeded(BCryptOpenAlgorithmProvider(&opened, AlgorithmName(algorithm), nullptr, 0))) {
        throw std::runtime_error("hashing failed");
    }
    const std::unique_ptr<void, ProviderClose> provider(opened);
    DWORD length = 0;
    ULONG written = 0;
    BCRYPT_HASH_HANDLE created = nullptr;
    if (!Succeeded(BCryptGetProperty(opened, BCRYPT_HASH_LENGTH, reinterpret_cast<PUCHAR>(&length),
                                     sizeof length, &written, 0)) ||
        !Succeeded(BCryptCreateHash(opened, &created, nullptr, 0, nullptr, 0, 0))) {
        throw std::runtime_error("hashing failed");
    }
    const std::unique_ptr<void, HashDestroy> hash(created);
    // BCrypt takes at most a ULONG at a time.
    for (std::size_t offset = 0; offset < data.size();) {
        const ULONG piece =
            static_cast<ULONG>(std::min<std::size_t>(data.size() - offset, ULONG_MAX));
        if (!Succeeded(
                BCryptHashData(created, const_cast<PUCHAR>(data.data() + offset), piece, 0))) {
            throw std::runtime_error("hashing failed");
        }
        offset += piece;
    }
    std::vector<std::uint8_t> digest(length);
    if (!Succeeded(BCryptFinishHash(created, digest.data(), length, 0))) {
        throw std::runtime_error("hashing failed");
    }
    return digest;
}

bool RandomBytes(std::span<std::uint8_t> out) {
    if (out.size() > ULONG_MAX) {
        return false;
    }
    return Succeeded(BCryptGenRandom(nullptr, out.data(), static_cast<ULONG>(out.size()),
                                     BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

} // namespace vanmoor::onvif
