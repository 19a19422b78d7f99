#include "CredentialsBook.h"

#include <gtest/gtest.h>

namespace vanmoor::commission {
namespace {

constexpr const char* kEndpoint = "urn:uuid:5ca1ab1e-0000-4000-8000-02005e000301";

SiteDevice Camera(std::optional<MacBytes> mac, Ipv4Octets ip) {
    SiteDevice device;
    device.protocol = site::kWsdProtocol;
    device.mac = mac;
    device.ip = ip;
    device.wsd = site::WsdDetails{};
    device.wsd->endpoint = kEndpoint;
    return device;
}

std::string UserFor(const CredentialsBook& book, const SiteDevice& device) {
    const std::optional<Credentials> credentials = book.For(device);
    return credentials ? credentials->user : "none";
}

std::string ErrorOf(std::string_view text) {
    try {
        CredentialsBook::Parse(text);
    } catch (const CredentialsFileError& error) {
        return error.what();
    }
    return "accepted";
}

TEST(CredentialsBookTest, LooksUpByMacThenEndpointThenAddressThenDefault) {
    const CredentialsBook book =
        CredentialsBook::Parse("default d pw\n"
                               "192.0.2.30 by-address pw\n"
                               "URN:UUID:5CA1AB1E-0000-4000-8000-02005E000301 by-endpoint pw\n"
                               "02-00-5E-00-03-01 by-mac pw\n");
    const MacBytes mac{0x02, 0x00, 0x5e, 0x00, 0x03, 0x01};
    EXPECT_EQ(UserFor(book, Camera(mac, {192, 0, 2, 30})), "by-mac");
    EXPECT_EQ(UserFor(book, Camera(std::nullopt, {192, 0, 2, 30})), "by-endpoint");
    SiteDevice other = Camera(MacBytes{2}, {192, 0, 2, 30});
    other.wsd.reset();
    EXPECT_EQ(UserFor(book, other), "by-address");
    other.ip = {192, 0, 2, 31};
    EXPECT_EQ(UserFor(book, other), "d");
    EXPECT_EQ(UserFor(CredentialsBook::Parse("192.0.2.30 a pw\n"), other), "none");
    EXPECT_EQ(UserFor(CredentialsBook(), other), "none");
}

TEST(CredentialsBookTest, ThePasswordIsTheRestOfTheLineWithoutItsCarriageReturn) {
    const CredentialsBook book = CredentialsBook::Parse("# the site\r\n\r\n  \t\n"
                                                        "default\tadmin   Open sesame  2\r\n");
    const std::optional<Credentials> credentials = book.For(SiteDevice{});
    ASSERT_TRUE(credentials);
    EXPECT_EQ(credentials->user, "admin");
    EXPECT_EQ(credentials->password, "Open sesame  2");
}

TEST(CredentialsBookTest, AMalformedOrRepeatedLineIsNamedByNumberNeverQuoted) {
    EXPECT_EQ(ErrorOf("default admin secret-1\n\nadmin secret-2\n"),
              "line 3 of the credentials file is not WHO USER PASSWORD");
    EXPECT_EQ(ErrorOf("192.0.2.300 admin secret-3\n"),
              "line 1 of the credentials file names no MAC, endpoint reference, IPv4 address or "
              "default");
    EXPECT_EQ(ErrorOf("02:00:5e:00:03:01 a secret-4\n# again\n02-00-5E-00-03-01 b secret-5\n"),
              "line 3 of the credentials file names the device of line 1 again");
    EXPECT_EQ(ErrorOf(std::string(kEndpoint) +
                      " a x\nURN:uuid:5CA1AB1E-0000-4000-8000-02005E000301 b y\n"),
              "line 2 of the credentials file names the device of line 1 again");
    EXPECT_EQ(ErrorOf("default a x\ndefault b y\n"),
              "line 2 of the credentials file names the device of line 1 again");
}

} // namespace
} // namespace vanmoor::commission
