#include "ServiceCrypto.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <stdexcept>
#include <vector>

namespace vanmoor::devsim {

namespace {

const EVP_MD* Method(HashKind kind) {
    switch (kind) {
    case HashKind::Md5:
        return EVP_md5();
    case HashKind::Sha1:
        return EVP_sha1();
    case HashKind::Sha256:
        break;
    }
    return EVP_sha256();
}

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0f];
    }
    return text;
}

} // namespace

std::string HashBytes(HashKind kind, std::string_view data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(data.data(), data.size(), digest, &length, Method(kind), nullptr) != 1) {
        throw std::runtime_error("hash failed");
    }
    return std::string(reinterpret_cast<const char*>(digest), length);
}

std::string HashHex(HashKind kind, std::string_view data) {
    return Hex(HashBytes(kind, data));
}

std::string Base64(std::string_view bytes) {
    std::vector<unsigned char> text(4 * ((bytes.size() + 2) / 3) + 1);
    const int length =
        EVP_EncodeBlock(text.data(), reinterpret_cast<const unsigned char*>(bytes.data()),
                        static_cast<int>(bytes.size()));
    return std::string(reinterpret_cast<const char*>(text.data()),
                       static_cast<std::size_t>(length));
}

std::optional<std::string> FromBase64(std::string_view text) {
    if (text.empty() || text.size() % 4 != 0 || text.size() > 4096) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes(3 * text.size() / 4);
    const int length =
        EVP_DecodeBlock(bytes.data(), reinterpret_cast<const unsigned char*>(text.data()),
                        static_cast<int>(text.size()));
    if (length < 0) {
        return std::nullopt;
    }
    // EVP_DecodeBlock counts the padding as zero bytes.
    std::size_t size = static_cast<std::size_t>(length);
    for (std::size_t i = text.size(); i > 0 && text[i - 1] == '=' && size > 0; --i) {
        --size;
    }
    return std::string(reinterpret_cast<const char*>(bytes.data()), size);
}

std::string RandomHex(std::size_t count) {
    std::vector<unsigned char> bytes(count);
    if (RAND_bytes(bytes.data(), static_cast<int>(count)) != 1) {
        throw std::runtime_error("no random bytes");
    }
    return Hex(std::string_view(reinterpret_cast<const char*>(bytes.data()), count));
}

} // namespace vanmoor::devsim
