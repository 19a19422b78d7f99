#include "Crypto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

namespace {

using vanmoor::onvif::HashAlgorithm;
using vanmoor::onvif::HexHash;

// The standard test strings of each algorithm's own definition, so that the Linux and the
// Windows implementation are held to the same figures.
TEST(CryptoTest, HashesMatchTheStandardTestStrings) {
    EXPECT_EQ(HexHash(HashAlgorithm::Md5, ""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(HexHash(HashAlgorithm::Md5, "abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(HexHash(HashAlgorithm::Sha1, "abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(
        HexHash(HashAlgorithm::Sha1, "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
        "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    EXPECT_EQ(HexHash(HashAlgorithm::Sha256, "abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(HexHash(HashAlgorithm::Sha256, std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    // Bytes beyond ASCII are hashed as they are (a UTF-8 password).
    EXPECT_EQ(HexHash(HashAlgorithm::Md5, "\xc3\x96"), "b3426522c7ec61900c76a863534f6a6a");
}

TEST(CryptoTest, RandomBytesDifferFromCallToCall) {
    std::array<std::uint8_t, 16> first{}, second{};
    ASSERT_TRUE(vanmoor::onvif::RandomBytes(first));
    ASSERT_TRUE(vanmoor::onvif::RandomBytes(second));
    EXPECT_NE(first, second);
    EXPECT_FALSE(std::all_of(first.begin(), first.end(), [](std::uint8_t b) { return b == 0; }));
}

} // namespace
