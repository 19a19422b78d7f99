#include "Md5Digest.h"

#include <openssl/evp.h>
#include <stdexcept>

namespace vanmoor::devsim {

std::array<char, 32> Md5Hex(std::string_view text) {
    unsigned char digest[EVP_MAX_MD_SIZE] = {};
    unsigned int length = 0;
    if (EVP_Digest(text.data(), text.size(), digest, &length, EVP_md5(), nullptr) != 1 ||
        length != 16) {
        throw std::runtime_error("OpenSSL could not compute an MD5 digest");
    }
    constexpr char kHex[] = "0123456789abcdef";
    std::array<char, 32> hex{};
    for (unsigned int i = 0; i < length; ++i) {
        hex[2 * i] = kHex[digest[i] >> 4];
        hex[2 * i + 1] = kHex[digest[i] & 0x0F];
    }
    return hex;
}

} // namespace vanmoor::devsim
