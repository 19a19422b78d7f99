#include "SimulatedDevices.h"

#include <thread>

namespace vanmoor::test {

bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

SimDevice MakeDevice(Protocol protocol, std::uint8_t id, devsim::Ipv4 ip, std::string name) {
    SimDevice device;
    device.protocol = protocol;
    device.mac = {0x02,
                  0x00,
                  0x5e,
                  0x00,
                  static_cast<std::uint8_t>(protocol == Protocol::Port4022 ? 0x40 : 0x32),
                  id};
    device.ip = ip;
    device.gateway = {ip[0], ip[1], ip[2], 254};
    device.name = std::move(name);
    return device;
}

std::string MacText(const SimDevice& device) {
    std::string text;
    for (const std::uint8_t byte : device.mac) {
        text += (text.empty() ? "" : "-") + std::to_string(byte);
    }
    return text;
}

void DeviceTest::SetUp() {
    LibraryTest::SetUp();
    ASSERT_NE(init(), nullptr);
    ASSERT_TRUE(setIPSearch(0, ""));
}

void DeviceTest::TearDown() {
    LibraryTest::TearDown();
    simulators.clear();
}

Simulator& DeviceTest::StartDevices(int lan, std::vector<SimDevice> devices, ReplyPlan plan) {
    auto simulator = std::make_unique<Simulator>(std::move(devices));
    simulator->SetReplyPlan(std::move(plan));
    RunInLan(lan, [&] { simulator->Start(); });
    simulators.push_back(std::move(simulator));
    return *simulators.back();
}

bool DeviceTest::SearchWhile(const std::function<void()>& during) {
    std::vector<std::size_t> seen;
    for (const auto& simulator : simulators) {
        seen.push_back(simulator->Datagrams().size());
    }
    auto searching = std::async(std::launch::async, [] { return search(kSearchMilliseconds); });
    // Both requests of this search reached every lan: all its requests are out and the
    // endpoints are listening, so what `during` does meets only the wait for answers.
    for (std::size_t i = 0; i < simulators.size(); ++i) {
        EXPECT_TRUE(simulators[i]->WaitForDatagrams(seen[i] + 2, kPatience));
    }
    during();
    return searching.get();
}

std::vector<Listed> DeviceTest::ListDevices() {
    std::vector<Listed> listed;
    const int count = getCounts();
    for (int index = 0; index < count; ++index) {
        char name[30] = {};
        char ip[30] = {};
        char protocol = -1;
        if (getName(index, name, sizeof name) &&
            getIPString_DetVer(index, ip, sizeof ip, &protocol)) {
            listed.push_back({index, name, ip, protocol});
        }
    }
    return listed;
}

int DeviceTest::IndexOf(const std::string& macText) {
    for (int index = 0; index < getCounts(); ++index) {
        char text[32] = {};
        if (getMacString(index, text, sizeof text) && macText == text) {
            return index;
        }
    }
    return -1;
}

} // namespace vanmoor::test
