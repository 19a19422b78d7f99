#include "ParserTestSupport.h"

#include "transport/DiscoveryRequests.h"

#include <gtest/gtest.h>

#include <string>

namespace vanmoor::test {
namespace {

TEST(DiscoveryRequestsTest, Port4022RequestByteForByte) {
    Datagram expected(72, 0);
    PutText(expected, 0, "PCEdit"); // 0: prefix
    Put(expected, 6, {0x02});       // 6
    Put(expected, 25, {0x02});      // 25
    Put(expected, 32, {0x02});      // 32
    Put(expected, 60, {0x02});      // 60
    const SearchRequest4022 request = MakeSearchRequest4022();
    EXPECT_EQ(Datagram(request.begin(), request.end()), expected);
}

TEST(DiscoveryRequestsTest, Port32970RequestByteForByte) {
    Datagram expected(328, 0);
    PutText(expected, 0, "3297");                        // 0: protocol
    PutText(expected, 4, std::string("V1.00\0\0\0", 8)); // 4: version
    Put(expected, 12, {0x48, 0x01});                     // 12: length 328
    Put(expected, 14, {0x01});                           // 14: kind: search request
    const Datagram32970 request = MakeSearchRequest32970();
    EXPECT_EQ(Datagram(request.begin(), request.end()), expected);
}

} // namespace
} // namespace vanmoor::test
