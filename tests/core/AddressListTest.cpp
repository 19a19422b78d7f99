// The step both systems' address lists share: dotted text from the address value, and each
// address once.
#include "platform/InterfaceAddresses.h"

#include <cstring>
#include <gtest/gtest.h>

namespace vanmoor::platform {
namespace {

InterfaceAddress Entry(const char* device, std::uint32_t value) {
    InterfaceAddress entry;
    entry.interfaceName = device;
    entry.addressValue = value;
    return entry;
}

// The address a.b.c.d in network byte order, whatever the machine's byte order.
std::uint32_t Value(unsigned a, unsigned b, unsigned c, unsigned d) {
    const unsigned char bytes[4] = {static_cast<unsigned char>(a), static_cast<unsigned char>(b),
                                    static_cast<unsigned char>(c), static_cast<unsigned char>(d)};
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

TEST(AddressList, WritesDottedTextOfTheValue) {
    std::vector<InterfaceAddress> list;
    AddAddressOnce(list, Entry("lan2", Value(198, 51, 100, 200)));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].address, "198.51.100.200");
    EXPECT_EQ(list[0].interfaceName, "lan2");
}

TEST(AddressList, KeepsTheFirstEntryOfAnAddressInOrder) {
    std::vector<InterfaceAddress> list;
    AddAddressOnce(list, Entry("lan1", Value(192, 0, 2, 1)));
    AddAddressOnce(list, Entry("lan2", Value(198, 51, 100, 1)));
    AddAddressOnce(list, Entry("lan3", Value(192, 0, 2, 1)));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].interfaceName, "lan1");
    EXPECT_EQ(list[1].address, "198.51.100.1");
}

} // namespace
} // namespace vanmoor::platform
