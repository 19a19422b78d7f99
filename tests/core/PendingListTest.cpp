// The manager's pending list and table update, fed directly as the parsers feed it, including
// from several threads while tables are rebuilt.
#include "DeviceGenerator.h"
#include "LogDirectory.h"
#include "Simulator.h"
#include "TestNetwork.h"
#include "core/BroadCastManager.h"
#include "core/LibraryLog.h"

#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <thread>

using namespace std::chrono_literals;

namespace vanmoor {
namespace {

std::unique_ptr<DeviceRecord> Record(std::uint8_t id, const char* name,
                                     const std::string& localIP) {
    auto record = std::make_unique<DeviceRecord>();
    record->m_MAC = {0x02, 0, 0, 0, 0, id};
    std::strncpy(record->m_Name.data(), name, record->m_Name.size() - 1);
    record->m_LocalIP = localIP;
    return record;
}

std::string NameAt(CBroadCastManager& manager, int index) {
    char name[30] = {};
    return manager.getName(index, name, sizeof name) ? name : "<miss>";
}

class PendingList : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(manager.setIPSearch(false, "")); }
    const std::string lan1 = test::TestNetwork::Get().pcAddresses[0];
    const std::string lan2 = test::TestNetwork::Get().pcAddresses[1];
    CBroadCastManager manager;
};

TEST_F(PendingList, DevicesAreNumberedByFirstReplyAndKeepTheLatestContents) {
    manager.PushPackage(Record(0xB, "B first", lan1));
    manager.PushPackage(Record(0xA, "A", lan1));
    manager.PushPackage(Record(0xB, "B again", lan2));
    manager.PushPackage(Record(0xC, "C", lan2));
    manager.UpdateDeviceList();

    ASSERT_EQ(manager.getCounts(), 3);
    EXPECT_EQ(NameAt(manager, 0), "B again");
    EXPECT_EQ(NameAt(manager, 1), "A");
    EXPECT_EQ(NameAt(manager, 2), "C");

    // The next table numbers from 0 again.
    manager.PushPackage(Record(0xC, "C later", lan1));
    manager.UpdateDeviceList();
    ASSERT_EQ(manager.getCounts(), 1);
    EXPECT_EQ(NameAt(manager, 0), "C later");
}

TEST_F(PendingList, RecordsOfUnlistedInterfacesLeaveEmptyEntries) {
    manager.PushPackage(Record(1, "kept", lan1));
    manager.PushPackage(Record(2, "gone", "203.0.113.1"));
    manager.PushPackage(Record(3, "kept too", lan2));
    manager.UpdateDeviceList();

    ASSERT_EQ(manager.getCounts(), 3);
    EXPECT_EQ(NameAt(manager, 0), "kept");
    EXPECT_EQ(NameAt(manager, 1), "<miss>");
    EXPECT_EQ(NameAt(manager, 2), "kept too");
}

TEST_F(PendingList, ConcurrentRepliesAndTableUpdatesLoseNothingAndNeverDuplicate) {
    constexpr int kThreads = 4;
    constexpr int kDevicesPerThread = 50;
    std::atomic<bool> stop{false};
    std::vector<std::thread> receivers;
    for (int thread = 0; thread < kThreads; ++thread) {
        receivers.emplace_back([&, thread] {
            // Rounds until told to stop, then one whole round more, which the last table holds.
            for (bool last = false; !last;) {
                last = stop;
                for (int device = 0; device < kDevicesPerThread; ++device) {
                    auto record =
                        Record(static_cast<std::uint8_t>(thread * kDevicesPerThread + device),
                               "dev", thread % 2 == 0 ? lan1 : lan2);
                    manager.PushPackage(std::move(record));
                }
            }
        });
    }
    for (int update = 0; update < 200; ++update) {
        manager.UpdateDeviceList();
        const int count = manager.getCounts();
        ASSERT_LE(count, kThreads * kDevicesPerThread) << "a device was listed twice";
        std::set<std::string> macs;
        for (int index = 0; index < count; ++index) {
            char mac[32] = {};
            if (manager.getMacString(index, mac, sizeof mac)) {
                EXPECT_TRUE(macs.insert(mac).second) << "duplicate " << mac;
            }
        }
    }
    stop = true;
    for (auto& receiver : receivers) {
        receiver.join();
    }
    manager.UpdateDeviceList();
    EXPECT_EQ(manager.getCounts(), kThreads * kDevicesPerThread);
}

TEST(PendingListLimit, NewDevicesBeyondTheLimitAreDroppedAndCountedWhileKnownOnesMerge) {
    test::LogDirectory logs;
    logs.Configure("file 0");
    constexpr std::size_t kLimit = 100;
    CBroadCastManager manager(kLimit);
    ASSERT_TRUE(manager.setIPSearch(false, ""));

    devsim::SimDevice first;
    first.mac = {0x02, 0x00, 0x5e, 0x10, 0x00, 0x01};
    first.ip = {192, 0, 2, 100};
    first.name = "cam";
    auto devices = devsim::GenerateDevices(first, kLimit + 50);
    // The first device again, after all the others, with a new name.
    devsim::SimDevice again = devices.front();
    again.name = "cam1 again";
    again.replyDelay = 200ms;
    devices.push_back(again);
    devsim::Simulator simulator(devices);
    test::RunInLan(1, [&] { simulator.Start(); });

    ASSERT_TRUE(manager.search());
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (simulator.Counters().sent < devices.size() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_EQ(simulator.Counters().sent, devices.size());
    std::this_thread::sleep_for(1s); // the receive thread takes what is queued
    manager.UpdateDeviceList();

    EXPECT_EQ(manager.getCounts(), static_cast<int>(kLimit));
    EXPECT_EQ(NameAt(manager, 0), "cam1 again");
    EXPECT_EQ(NameAt(manager, kLimit - 1), "cam100");
    EXPECT_NE(logs.Read("Log.txt").find("CBroadCastManager::UpdateDeviceList() refused 50 "
                                        "replies of new devices beyond 100\n"),
              std::string::npos)
        << logs.Read("Log.txt");
}

} // namespace
} // namespace vanmoor
