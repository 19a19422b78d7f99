#include "ParserTestSupport.h"

#include "config/AuthSetCommand.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace vanmoor::test {
namespace {

// Reference digests computed with md5sum.
TEST(AuthSetCommandTest, DigestOfRandomNumberAndCredentials) {
    const struct {
        int random;
        std::string user, password, md5;
    } cases[] = {
        {5, "admin", "secret", "efb7bae0a463c42c248fe35fb4b5845f"}, // "5admin:secret"
        {6, "admin", "secret", "95afa9f5410273846024c5689e187b94"}, // "6admin:secret"
        {17, "", "", "311a0516b1c6eb11a28e8deaa5c64c78"},           // "17:"
        {200, std::string(32, 'u'), std::string(32, 'p'), "946c86d2d79bc00127105252fa69408d"},
    };
    for (const auto& c : cases) {
        const AuthDigest digest = AuthDigestFor(c.random, c.user, c.password);
        EXPECT_EQ(digest.random, c.random);
        EXPECT_EQ(std::string(digest.hex.begin(), digest.hex.end()), c.md5);
    }
}

// Fields of 32 bytes without a terminator are read to their end and no further.
TEST(AuthSetCommandTest, DrawnDigestReadsTheFieldsBounded) {
    AuthNetSettings s{};
    std::memset(s.user, 'u', sizeof s.user);
    std::memset(s.password, 'p', sizeof s.password);
    s.IP[0] = 'X'; // right after the password: must not join it
    const AuthDigest digest = MakeAuthDigest(s.user, s.password);
    ASSERT_GE(digest.random, 0);
    ASSERT_LE(digest.random, 255);
    EXPECT_EQ(digest.hex,
              AuthDigestFor(digest.random, std::string(32, 'u'), std::string(32, 'p')).hex);

    std::strcpy(s.user, "admin");
    std::strcpy(s.password, "");
    const AuthDigest shortTexts = MakeAuthDigest(s.user, s.password);
    EXPECT_EQ(shortTexts.hex, AuthDigestFor(shortTexts.random, "admin", "").hex);
}

AuthNetSettings Settings() {
    AuthNetSettings s{};
    std::strcpy(s.user, "admin");
    std::strcpy(s.password, "secret");
    const std::uint8_t values[20] = {192, 168, 1, 20, 255, 255, 255, 0, 192, 168,
                                     1,   1,   8, 8,  8,   8,   1,   1, 1,   1};
    std::memcpy(s.IP, values, sizeof values); // IP, netmask, gateway, DNS1, DNS2
    std::memcpy(s.name, "Warehouse-Camera-With-32-Byte-Nm", 32);
    std::memcpy(s.MAC, "\xAA\xBB\xCC\xDD\xEE\xFF", 6); // not used: the record's MAC is
    s.port = 65536;
    s.DHCP = 1;
    return s;
}

Datagram Build(int random) {
    const AuthNetSettings s = Settings();
    const Datagram32970 command = BuildAuthSetCommand(MacBytes{0, 0x11, 0x22, 0x33, 0x44, 0x55}, s,
                                                      AuthDigestFor(random, s.user, s.password));
    return Datagram(command.begin(), command.end());
}

TEST(AuthSetCommandTest, CommandByteForByte) {
    Datagram expected(328, 0);
    PutText(expected, 0, "3297");                         // 0: protocol
    PutText(expected, 4, std::string("V1.00\0\0\0", 8));  // 4: version
    Put(expected, 12, {0x48, 0x01});                      // 12: length 328
    Put(expected, 14, {0x00});                            // 14: kind: command
    Put(expected, 15, {0, 0x11, 0x22, 0x33, 0x44, 0x55}); // 15: the record's MAC
    Put(expected, 21, {192, 168, 1, 20, 255, 255, 255, 0, 192, 168, 1,
                       1,   8,   8, 8,  8,   1,   1,   1, 1});  // 21: IP, 25: netmask, 29: gateway,
                                                                // 33: DNS1, 37: DNS2
    Put(expected, 41, {1});                                     // 41: DHCP
    Put(expected, 42, {0x00, 0x00, 0x01, 0x00});                // 42: port 65536
    Put(expected, 133, {5});                                    // 133: R
    PutText(expected, 134, "efb7bae0a463c42c248fe35fb4b5845f"); // 134: MD5 of "5admin:secret"
    PutText(expected, 261, "Warehouse-Camera-With-32-Byte-Nm"); // 261: name, 32 bytes
    EXPECT_EQ(Build(5), expected);

    const Datagram other = Build(6);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (i < 133 || i > 165) {
            EXPECT_EQ(other[i], expected[i]) << "offset " << i;
        }
    }
    EXPECT_EQ(other[133], 6);
    EXPECT_EQ(std::string(other.begin() + 134, other.begin() + 166),
              "95afa9f5410273846024c5689e187b94");
}

} // namespace
} // namespace vanmoor::test
