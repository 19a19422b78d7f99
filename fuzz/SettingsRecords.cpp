// Fuzz target: settings records from the input into set, set_MD5 and set_MD5_Muti of a manager
// whose table holds devices of both ports, so that the MAC lookups and the checks run. search()
// is never called: the manager has no endpoint, so no command is ever sent and none can succeed.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "ReceivedDatagram.h"

#include "core/BroadCastManager.h"
#include "transport/Parser32970.h"
#include "transport/Parser4022.h"

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace vanmoor::fuzz {
namespace {

constexpr int kMaxCommands = 16;

// The table's devices: two of port 4022 (a full reply and a short one), two of port 32970; the
// last entry is a MAC address that no device has.
constexpr std::array<std::array<unsigned char, 6>, 5> kMacs = {{
    {0x02, 0x00, 0x5e, 0x00, 0x01, 0x01},
    {0x02, 0x00, 0x5e, 0x00, 0x01, 0x02},
    {0x02, 0x00, 0x5e, 0x00, 0x02, 0x01},
    {0x02, 0x00, 0x5e, 0x00, 0x02, 0x02},
    {0x02, 0x00, 0x5e, 0x00, 0x03, 0x01},
}};

template <class Parser>
void Deliver(CBroadCastManager& manager, std::vector<std::uint8_t> datagram,
             const std::string& localIP, int port) {
    std::optional<ReceivedDatagram> received = Receive(datagram);
    Parser(&manager).ParserPackage(std::move(received->buffer), received->length, localIP, port);
}

std::vector<std::uint8_t> Reply4022(std::size_t length, const std::array<unsigned char, 6>& mac) {
    std::vector<std::uint8_t> datagram(length, 0);
    std::memcpy(datagram.data(), "IPCam", 5);
    const std::uint8_t fixed[] = {192, 0, 2, 10};
    std::memcpy(&datagram[10], fixed, sizeof fixed);
    std::memcpy(&datagram[14], mac.data(), mac.size());
    std::memcpy(&datagram[20], "\xff\xff\xff\x00", 4);
    std::memcpy(&datagram[32], "Lobby", 5);
    std::memcpy(&datagram[50], "80", 2);
    return datagram;
}

std::vector<std::uint8_t> Reply32970(const std::array<unsigned char, 6>& mac) {
    std::vector<std::uint8_t> datagram(328, 0);
    datagram[14] = 0x02;
    std::memcpy(&datagram[15], mac.data(), mac.size());
    const std::uint8_t fixed[] = {192, 0, 2, 20, 255, 255, 255, 0};
    std::memcpy(&datagram[21], fixed, sizeof fixed);
    std::memcpy(&datagram[261], "Warehouse", 9);
    return datagram;
}

// Devices on the first address the host lists; without one the table stays empty and every
// lookup misses.
void FillTable(CBroadCastManager& manager) {
    manager.setIPSearch(false, nullptr);
    const char* listed = manager.getIPinfo(0);
    const std::string localIP = listed != nullptr ? listed : "192.0.2.1";
    Deliver<CParserImp_4022port>(manager, Reply4022(220, kMacs[0]), localIP, 4022);
    Deliver<CParserImp_4022port>(manager, Reply4022(56, kMacs[1]), localIP, 4022);
    Deliver<CParserImp_32970port>(manager, Reply32970(kMacs[2]), localIP, 32970);
    Deliver<CParserImp_32970port>(manager, Reply32970(kMacs[3]), localIP, 32970);
    manager.UpdateDeviceList();
}

// What the queries report of one device.
struct Seen {
    bool found = false;
    char mac[32] = {};
    int ip = 0, netmask = 0, gateway = 0, port = 0;
    std::array<char, 23> name{};

    bool operator==(const Seen&) const = default;
};

std::vector<Seen> Look(CBroadCastManager& manager) {
    std::vector<Seen> table(static_cast<std::size_t>(manager.getCounts()));
    for (std::size_t i = 0; i < table.size(); ++i) {
        const int index = static_cast<int>(i);
        Seen& seen = table[i];
        seen.found = manager.getMacString(index, seen.mac, sizeof seen.mac);
        seen.ip = manager.getIPValue(index);
        seen.netmask = manager.getNetMaskValue(index);
        seen.gateway = manager.getGateWayValue(index);
        seen.port = manager.getPort(index);
        manager.getName(index, seen.name.data(), static_cast<int>(seen.name.size()));
    }
    return table;
}

int Packed(const unsigned char (&a)[4]) {
    return static_cast<int>(std::uint32_t{a[0]} | std::uint32_t{a[1]} << 8 |
                            std::uint32_t{a[2]} << 16 | std::uint32_t{a[3]} << 24);
}

bool OldOrNew(int now, int before, int wanted) {
    return now == before || now == wanted;
}

template <class Settings> std::unique_ptr<Settings> ReadSettings(ByteReader& input) {
    // On the heap at its exact size, so that a read past the record is seen.
    auto settings = std::make_unique<Settings>();
    input.Fill(settings.get(), sizeof(Settings));
    const std::uint8_t target = input.Byte();
    if (target < 0x80) {
        std::memcpy(settings->MAC, kMacs[target % kMacs.size()].data(), sizeof settings->MAC);
    }
    return settings;
}

void Set(CBroadCastManager& manager, ByteReader& input) {
    const auto settings = ReadSettings<NetSettings>(input);
    const std::vector<Seen> before = Look(manager);
    Require(manager.set(*settings) == 0, "set succeeds without an endpoint");
    const std::vector<Seen> after = Look(manager);
    Require(after.size() == before.size(), "set keeps the table's size");
    char target[32];
    std::snprintf(target, sizeof target, "%d-%d-%d-%d-%d-%d", settings->MAC[0], settings->MAC[1],
                  settings->MAC[2], settings->MAC[3], settings->MAC[4], settings->MAC[5]);
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (std::strcmp(before[i].mac, target) != 0) {
            Require(after[i] == before[i], "set changes only the device it names");
            continue;
        }
        // The device takes the new values once they pass the checks, before any send.
        Require(after[i].found && std::strcmp(after[i].mac, target) == 0, "set keeps the MAC");
        Require(OldOrNew(after[i].ip, before[i].ip, Packed(settings->IP)) &&
                    OldOrNew(after[i].netmask, before[i].netmask, Packed(settings->netmask)) &&
                    OldOrNew(after[i].gateway, before[i].gateway, Packed(settings->gateway)) &&
                    OldOrNew(after[i].port, before[i].port, settings->port),
                "set gives the device its old or its new values");
    }
}

void SetWithCredentials(CBroadCastManager& manager, ByteReader& input, bool many) {
    const auto settings = ReadSettings<AuthNetSettings>(input);
    const std::vector<Seen> before = Look(manager);
    if (many) {
        Require(!manager.set_MD5_Muti(*settings), "set_MD5_Muti succeeds without an endpoint");
    } else {
        Require(manager.set_MD5(*settings) == 0, "set_MD5 succeeds without an endpoint");
    }
    Require(Look(manager) == before, "commands with credentials leave the table as it was");
}

} // namespace
} // namespace vanmoor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vanmoor::fuzz;
    ByteReader input(data, size);
    vanmoor::CBroadCastManager manager;
    FillTable(manager);
    for (int command = 0; command < kMaxCommands && !input.Empty(); ++command) {
        switch (input.Byte() % 3) {
        case 0:
            Set(manager, input);
            break;
        case 1:
            SetWithCredentials(manager, input, false);
            break;
        default:
            SetWithCredentials(manager, input, true);
            break;
        }
    }
    return 0;
}
