#include "QueryChecks.h"

#include "FuzzCheck.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::fuzz {

namespace {

using TextQuery = bool (CBroadCastManager::*)(int, char*, int);
using BytesQuery = bool (CBroadCastManager::*)(int, void*, int);
using ValueQuery = int (CBroadCastManager::*)(int);

std::string Format(const char* format, const Ipv4Bytes& a) {
    char text[32];
    std::snprintf(text, sizeof text, format, a[0], a[1], a[2], a[3]);
    return text;
}

std::string Dotted(const Ipv4Bytes& a) {
    return Format("%d.%d.%d.%d", a);
}

std::string MacText(const MacBytes& m) {
    char text[32];
    std::snprintf(text, sizeof text, "%d-%d-%d-%d-%d-%d", m[0], m[1], m[2], m[3], m[4], m[5]);
    return text;
}

int Packed(const Ipv4Bytes& a) {
    return static_cast<int>(std::uint32_t{a[0]} | std::uint32_t{a[1]} << 8 |
                            std::uint32_t{a[2]} << 16 | std::uint32_t{a[3]} << 24);
}

// One index's queries; `device` is what the table holds there, null for a miss.
class IndexCheck {
public:
    IndexCheck(CBroadCastManager& manager, int index, int outSize, const TableModel::Device* device)
        : m_Manager(manager), m_Index(index), m_OutSize(outSize), m_Device(device) {}

    // `expected` is the whole text of a hit, nothing where the model does not know it.
    void Text(TextQuery query, const std::optional<std::string>& expected, const char* what) {
        const auto out = std::make_unique<char[]>(static_cast<std::size_t>(m_OutSize));
        const bool found = (m_Manager.*query)(m_Index, out.get(), m_OutSize);
        Require(found == (m_Device != nullptr && m_OutSize >= 1), what);
        if (found) {
            const auto size = static_cast<std::size_t>(m_OutSize);
            Require(std::memchr(out.get(), '\0', size) != nullptr, what);
            Require(!expected || expected->substr(0, size - 1) == out.get(), what);
        }
        Require(!(m_Manager.*query)(m_Index, nullptr, 16), what);
    }

    // `expected` holds the first bytes of the field where the model knows them.
    void Bytes(BytesQuery query, std::span<const char> expected, const char* what) {
        const auto out = std::make_unique<char[]>(static_cast<std::size_t>(m_OutSize));
        const bool found = (m_Manager.*query)(m_Index, out.get(), m_OutSize);
        Require(found == (m_Device != nullptr), what);
        const std::size_t compared = std::min(expected.size(), static_cast<std::size_t>(m_OutSize));
        Require(!found || std::equal(expected.begin(), expected.begin() + compared, out.get()),
                what);
        Require(!(m_Manager.*query)(m_Index, nullptr, 16), what);
        Require(!(m_Manager.*query)(m_Index, out.get(), -1), what);
    }

    // `expected` is the value of a hit, nothing where the model does not know it.
    void Value(ValueQuery query, std::optional<int> expected, const char* what) {
        const int value = (m_Manager.*query)(m_Index);
        Require(m_Device != nullptr ? (!expected || value == *expected) : value == 0, what);
    }

    void IpWithProtocol() {
        const auto out = std::make_unique<char[]>(static_cast<std::size_t>(m_OutSize));
        const auto protocol = std::make_unique<char>('?');
        const bool found =
            m_Manager.getIPString_DetVer(m_Index, out.get(), m_OutSize, protocol.get());
        Require(found == (m_Device != nullptr && m_OutSize >= 1), "getIPString_DetVer result");
        if (found) {
            const std::string dotted = Dotted(m_Device->reply.ip);
            Require(dotted.substr(0, static_cast<std::size_t>(m_OutSize) - 1) == out.get(),
                    "getIPString_DetVer text");
            Require(*protocol == static_cast<char>(m_Device->reply.protocol),
                    "getIPString_DetVer protocol");
        } else {
            Require(*protocol == '?', "getIPString_DetVer writes nothing on a miss");
        }
        Require(!m_Manager.getIPString_DetVer(m_Index, out.get(), m_OutSize, nullptr),
                "getIPString_DetVer without a protocol output");
    }

private:
    CBroadCastManager& m_Manager;
    int m_Index;
    int m_OutSize;
    const TableModel::Device* m_Device;
};

void CheckIndex(CBroadCastManager& manager, int index, int outSize, const TableModel& model) {
    bool certain = true;
    const TableModel::Device* device = model.Find(index, certain);
    char probe[32];
    const bool present = manager.getMacString(index, probe, sizeof probe);
    Require(device != nullptr ? present || !certain : !present, "which devices are listed");
    if (!present) {
        device = nullptr;
    }
    const std::optional<ExpectedReply> reply =
        device != nullptr ? std::optional<ExpectedReply>(device->reply) : std::nullopt;
    const auto text = [&](auto format) {
        return reply ? std::optional<std::string>(format(*reply)) : std::nullopt;
    };
    const auto value = [&](auto field) {
        return reply ? std::optional<int>(field(*reply)) : std::nullopt;
    };

    IndexCheck check(manager, index, outSize, device);
    using M = CBroadCastManager;
    check.Text(&M::getMacString, text([](const ExpectedReply& r) { return MacText(r.mac); }),
               "getMacString");
    check.Text(&M::getIPString,
               text([](const ExpectedReply& r) { return Format("%03d.%03d.%03d.%03d", r.ip); }),
               "getIPString");
    check.Text(&M::getGateWayString, text([](const ExpectedReply& r) { return Dotted(r.gateway); }),
               "getGateWayString");
    check.Text(&M::getNetMaskString, text([](const ExpectedReply& r) { return Dotted(r.netmask); }),
               "getNetMaskString");
    check.Text(&M::getDNS1String, std::nullopt, "getDNS1String");
    check.Text(&M::getDNS2String, std::nullopt, "getDNS2String");
    check.IpWithProtocol();

    check.Value(&M::getIPValue, value([](const ExpectedReply& r) { return Packed(r.ip); }),
                "getIPValue");
    check.Value(&M::getGateWayValue,
                value([](const ExpectedReply& r) { return Packed(r.gateway); }), "getGateWayValue");
    check.Value(&M::getNetMaskValue,
                value([](const ExpectedReply& r) { return Packed(r.netmask); }), "getNetMaskValue");
    check.Value(&M::getDNS1Value, std::nullopt, "getDNS1Value");
    check.Value(&M::getDNS2Value, std::nullopt, "getDNS2Value");
    check.Value(&M::getPort, std::nullopt, "getPort");
    check.Value(&M::getType, std::nullopt, "getType");
    const int dhcp = manager.getDHCP(index);
    Require(device != nullptr ? dhcp == 0 || dhcp == 1 : dhcp == 0, "getDHCP");

    const std::span<const char> name =
        reply ? std::span<const char>(reply->name) : std::span<const char>();
    check.Bytes(&M::getName, name, "getName");
    check.Bytes(&M::getDevice, {}, "getDevice");
    check.Bytes(&M::getVersion, {}, "getVersion");
    check.Bytes(&M::getBrand, {}, "getBrand");
    check.Bytes(&M::getModeName, {}, "getModeName");
    check.Bytes(&M::getCameraName1, {}, "getCameraName1");
}

} // namespace

void CheckQueries(CBroadCastManager& manager, ByteReader& input, const TableModel& model) {
    const int size = static_cast<int>(model.table.size());
    std::vector<int> indexes = {INT_MIN, -2, -1, size, size + 1, INT_MAX, input.Int32()};
    for (int index = 0; index < size; ++index) {
        indexes.push_back(index);
    }
    const int outSize = input.Byte() % 40;
    for (const int index : indexes) {
        CheckIndex(manager, index, outSize, model);
    }
}

} // namespace vanmoor::fuzz
