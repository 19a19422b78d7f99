#include "config/Md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace vanmoor::test {
namespace {

std::string Hex(std::string_view text) {
    const std::array<char, 32> hex = MD5HexString(text);
    return std::string(hex.begin(), hex.end());
}

TEST(Md5Test, Rfc1321Suite) {
    EXPECT_EQ(Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(Hex("1234567890123456789012345678901234567890"
                  "1234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

// Around the padding boundaries: 55 bytes pad within one block, 56 need a second one.
// References computed with md5sum over the first n bytes of the text.
TEST(Md5Test, LengthsAroundTheBlockBoundary) {
    const std::string text =
        "The quick brown fox jumps over the lazy dog 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    EXPECT_EQ(Hex(text.substr(0, 55)), "aa10d63cb7820ca7a0900b12aab7f55d");
    EXPECT_EQ(Hex(text.substr(0, 56)), "dfeca4b00c91c32c3784a154eb36814e");
    EXPECT_EQ(Hex(text.substr(0, 63)), "99e9fa9494f65adbd31e22fc693a91a7");
    EXPECT_EQ(Hex(text.substr(0, 64)), "41f8be94beb1abbb125309b363eb6d98");
    EXPECT_EQ(Hex(text.substr(0, 65)), "38aa472008df1769d4e4d2fd6419abe1");
}

// A million bytes fed in uneven pieces, so that pieces straddle the block edges.
TEST(Md5Test, PiecewiseUpdateOfAMillionBytes) {
    const std::string text(1000000, 'a');
    MD5Context context;
    MD5Init(context);
    std::size_t done = 0;
    for (std::size_t piece = 1; done < text.size(); piece = piece % 131 + 7) {
        const std::size_t length = std::min(piece, text.size() - done);
        MD5Update(context, reinterpret_cast<const std::uint8_t*>(text.data() + done), length);
        done += length;
    }
    std::array<std::uint8_t, 16> digest;
    MD5Final(digest.data(), context);
    // 7707d6ae4e027c70eea2a935c2296f21
    EXPECT_EQ(digest,
              (std::array<std::uint8_t, 16>{0x77, 0x07, 0xd6, 0xae, 0x4e, 0x02, 0x7c, 0x70, 0xee,
                                            0xa2, 0xa9, 0x35, 0xc2, 0x29, 0x6f, 0x21}));
    EXPECT_EQ(Hex(text), "7707d6ae4e027c70eea2a935c2296f21");
}

} // namespace
} // namespace vanmoor::test
