// Creating and destroying the manager, and every export without one.
#include "LibraryFixture.h"
#include "SimulatedDevices.h"

#include <dirent.h>
#include <fstream>
#include <regex>

namespace vanmoor::test {
namespace {

// The library's receive threads alive in this process (they name themselves).
int ReceiveThreadCount() {
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks)) {
            if (entry->d_name[0] == '.') {
                continue;
            }
            std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
            std::string name;
            std::getline(comm, name);
            count += name == "vanmoor-recv" ? 1 : 0;
        }
        closedir(tasks);
    }
    return count;
}

// Positions of `lines` in `text`, which must hold them in this order.
void ExpectInOrder(const std::string& text, const std::vector<std::string>& lines) {
    std::size_t from = 0;
    for (const std::string& line : lines) {
        const std::size_t at = text.find(line, from);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: " << line << "\nin:\n"
                                         << text;
        from = at + line.size();
    }
}

using Lifecycle = LibraryTest;

TEST_F(Lifecycle, EveryExportFailsWithoutAManager) {
    char text[32] = "untouched";
    char protocol = 7;
    NetSettings plain{};
    AuthNetSettings auth{};
    EXPECT_FALSE(search(0));
    EXPECT_EQ(getCounts(), 0);
    EXPECT_FALSE(getMacString(0, text, sizeof text));
    EXPECT_FALSE(getIPString(0, text, sizeof text));
    EXPECT_FALSE(getIPString_DetVer(0, text, sizeof text, &protocol));
    EXPECT_FALSE(getName(0, text, sizeof text));
    EXPECT_EQ(getIPValue(0), 0);
    EXPECT_EQ(getPort(0), 0);
    EXPECT_EQ(getDHCP(0), 0);
    EXPECT_EQ(set(plain), 0);
    EXPECT_EQ(set_MD5(auth), 0);
    EXPECT_FALSE(set_MD5_Muti(auth));
    EXPECT_FALSE(setIPSearch(0, ""));
    EXPECT_EQ(getIPcount(), 0);
    EXPECT_EQ(getIPinfo(0), nullptr);
    setSaveOption(1, 5);
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ(protocol, 7);
    EXPECT_EQ(Log(), "");
}

TEST_F(Lifecycle, DeinitWithoutAManagerOnlyLogsItsTwoLines) {
    deinit();
    EXPECT_EQ(Log(), "deinit() begin\ndeinit() end\n");
}

TEST_F(Lifecycle, SearchWithoutLocalAddressesSendsNothingAndLeavesAnEmptyTable) {
    ASSERT_NE(init(), nullptr);
    EXPECT_TRUE(search(0));
    EXPECT_EQ(getCounts(), 0);
    EXPECT_EQ(Log().find("SendPacket"), std::string::npos) << Log();
}

TEST_F(Lifecycle, DestructionStopsEndpointsBeforeFreeingTheLists) {
    ASSERT_NE(init(), nullptr);
    ASSERT_TRUE(setIPSearch(0, ""));
    ASSERT_TRUE(search(0));
    ClearLog();
    deinit();

    // Lines of a receive thread that is just ending may come in between.
    const std::string begin = "CBroadCastItem::~CBroadCastItem() begin\n";
    const std::string end = "CBroadCastItem::~CBroadCastItem() end\n";
    ExpectInOrder(Log(), {"deinit() begin\n", "CBroadCastManager::~CBroadCastManager() begin\n",
                          "CBroadCastManager::~CBroadCastManager()::clean m_BroadCastItemList\n",
                          begin, end, begin, end, begin, end, begin, end,
                          "CBroadCastManager::~CBroadCastManager()::clean m_ParserList\n",
                          "CBroadCastManager::~CBroadCastManager()::clean m_DeviceList\n",
                          "CBroadCastManager::~CBroadCastManager()::clean m_SearchbyIPVector\n",
                          "CBroadCastManager::~CBroadCastManager() end\n", "deinit() end\n"});
    EXPECT_EQ(getCounts(), 0);
}

TEST_F(Lifecycle, InitAgainReplacesTheManagerAndEndsItsThreads) {
    ASSERT_NE(init(), nullptr);
    ASSERT_TRUE(setIPSearch(0, ""));
    ASSERT_TRUE(search(0));
    EXPECT_EQ(ReceiveThreadCount(), 4) << "one receive thread per endpoint";

    ASSERT_NE(init(), nullptr);
    // A joined thread may linger in /proc for a moment.
    EXPECT_TRUE(WaitUntil([] { return ReceiveThreadCount() == 0; })) << ReceiveThreadCount();
    EXPECT_EQ(getIPcount(), 0) << "the new manager starts with empty lists";
    EXPECT_NE(Log().find("CBroadCastManager::~CBroadCastManager() end\n"), std::string::npos);
    ASSERT_TRUE(setIPSearch(0, ""));
    EXPECT_TRUE(search(0));
}

TEST_F(Lifecycle, EveryInitReadsTheLogConfigurationAgain) {
    Logs().Configure("file 1");
    ASSERT_NE(init(), nullptr);
    deinit();
    EXPECT_TRUE(
        std::regex_search(Log(), std::regex(R"(^\d\d:\d\d:\d\d\.\d\d\d  deinit\(\) begin\n)")))
        << Log();

    Logs().Configure("file 0");
    ASSERT_NE(init(), nullptr);
    ClearLog();
    deinit();
    EXPECT_EQ(Log().substr(0, 15), "deinit() begin\n");
}

} // namespace
} // namespace vanmoor::test
