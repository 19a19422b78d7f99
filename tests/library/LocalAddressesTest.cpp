// The list of local addresses and the interface filter.
#include "LibraryFixture.h"
#include "NetworkChanges.h"
#include "TestNetwork.h"

#include <memory>

namespace vanmoor::test {
namespace {

class LocalAddresses : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        ASSERT_NE(init(), nullptr);
    }
    const TestNetwork& net = TestNetwork::Get();
};

TEST_F(LocalAddresses, ListHoldsEveryAddressOfTheHostOnceInAStableOrder) {
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(setIPSearch(0, ""));
        ASSERT_EQ(getIPcount(), 2) << "listed anew, not appended";
        EXPECT_STREQ(getIPinfo(0), net.pcAddresses[0].c_str());
        EXPECT_STREQ(getIPinfo(1), net.pcAddresses[1].c_str());
    }
    EXPECT_NE(Log().find("CBroadCastManager::getIPcount() = 2\n"), std::string::npos);
}

TEST_F(LocalAddresses, IndexesOutsideTheListGiveNull) {
    ASSERT_TRUE(setIPSearch(0, ""));
    ClearLog();
    EXPECT_EQ(getIPinfo(2), nullptr);
    EXPECT_EQ(getIPinfo(-1), nullptr);
    EXPECT_EQ(Log(), "CBroadCastManager::getIPinfo() catch failed\n"
                     "CBroadCastManager::getIPinfo() catch failed\n");
}

TEST_F(LocalAddresses, FilterTakesOnlyALocalAddressWrittenExactly) {
    EXPECT_TRUE(setIPSearch(1, net.pcAddresses[1].c_str()));
    ClearLog();
    EXPECT_FALSE(setIPSearch(1, "198.051.100.001"));
    EXPECT_EQ(Log(), "CBroadCastManager::setIPSearch::Doesn't find\n");
    EXPECT_FALSE(setIPSearch(1, ""));
    EXPECT_FALSE(setIPSearch(1, "203.0.113.1"));
    EXPECT_FALSE(setIPSearch(1, nullptr));
    EXPECT_EQ(getIPcount(), 2) << "the list is rebuilt even when the filter fails";
}

TEST_F(LocalAddresses, TextOfTheListIsTakenBackAfterTheAddressesChanged) {
    ASSERT_TRUE(setIPSearch(0, ""));
    const char* lan2 = getIPinfo(1);
    auto second = std::make_unique<ExtraAddress>("192.0.2.50/24", "lan1");
    // The list grows, and its old storage is freed, while `lan2` is compared.
    EXPECT_TRUE(setIPSearch(1, lan2));
    ASSERT_EQ(getIPcount(), 3);
    EXPECT_STREQ(getIPinfo(2), net.pcAddresses[1].c_str());

    const char* gone = getIPinfo(1);
    ASSERT_STREQ(gone, "192.0.2.50");
    second.reset();
    // The list shrinks while `gone` is compared: it must not turn into the address that takes
    // its place.
    EXPECT_FALSE(setIPSearch(1, gone));
    EXPECT_EQ(getIPcount(), 2);
}

TEST_F(LocalAddresses, WithoutEnableAnyTextIsFine) {
    EXPECT_TRUE(setIPSearch(0, "not an address"));
    EXPECT_TRUE(setIPSearch(0, nullptr));
    // Only the low byte of the flag counts.
    EXPECT_TRUE(setIPSearch(0x100, "not an address"));
    EXPECT_TRUE(setIPSearch(0x101, net.pcAddresses[0].c_str()));
}

} // namespace
} // namespace vanmoor::test
