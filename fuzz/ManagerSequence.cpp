// Fuzz target: a sequence of operations on the manager, checked against a model of its table.
// Replies of both ports go through the parsers into the pending list, the table is updated, the
// address filter and the save option are switched, and every query runs on every index with
// output buffers of exactly the size it is told. search() is never called, so the manager has
// no endpoint and nothing is ever sent.
#include "ByteReader.h"
#include "FuzzCheck.h"
#include "QueryChecks.h"
#include "ReceivedDatagram.h"
#include "ReplyModel.h"
#include "TableModel.h"

#include "core/BroadCastManager.h"
#include "transport/Parser32970.h"
#include "transport/Parser4022.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vanmoor::fuzz {
namespace {

// Small, so that new devices beyond it are turned away within a short input.
constexpr std::size_t kPendingLimit = 6;
constexpr int kMaxOperations = 64;

std::vector<std::string> ListedAddresses(CBroadCastManager& manager) {
    std::vector<std::string> listed;
    for (int i = 0; i < manager.getIPcount(); ++i) {
        const char* address = manager.getIPinfo(i);
        Require(address != nullptr, "every listed address can be read");
        listed.emplace_back(address);
    }
    Require(manager.getIPinfo(-1) == nullptr && manager.getIPinfo(manager.getIPcount()) == nullptr,
            "no address outside the list");
    return listed;
}

// The address a reply is credited to: a listed one, or one the manager does not list.
std::string LocalAddress(ByteReader& input, const TableModel& model) {
    const std::uint8_t choice = input.Byte();
    if (choice % 4 == 0 || model.listed.empty()) {
        return choice % 8 == 0 ? "" : "192.0.2.77";
    }
    return model.listed[choice / 4 % model.listed.size()];
}

// A port-4022 reply of a device from a small set of MAC addresses, so that replies merge.
std::vector<std::uint8_t> Shaped4022(ByteReader& input) {
    std::vector<std::uint8_t> datagram(500, 0);
    std::memcpy(datagram.data(), "IPCam", 5);
    input.Fill(&datagram[10], 4);
    const std::uint8_t mac[] = {0x02, 0x00, 0x5e,
                                0x00, 0x00, static_cast<std::uint8_t>(input.Byte() % 8)};
    std::memcpy(&datagram[14], mac, sizeof mac);
    input.Fill(&datagram[32], 18);
    static constexpr std::size_t kLengths[] = {56, 69, 70, 220};
    const std::uint8_t length = input.Byte();
    datagram.resize(length < 4 * 16 ? kLengths[length % 4] : 56 + length);
    return datagram;
}

// A port-32970 reply; its MAC addresses overlap those of Shaped4022.
std::vector<std::uint8_t> Shaped32970(ByteReader& input) {
    std::vector<std::uint8_t> datagram(328, 0);
    datagram[14] = 0x02;
    const std::uint8_t mac[] = {0x02, 0x00, 0x5e,
                                0x00, 0x00, static_cast<std::uint8_t>(input.Byte() % 8)};
    std::memcpy(&datagram[15], mac, sizeof mac);
    input.Fill(&datagram[21], 4);
    input.Fill(&datagram[261], 32);
    return datagram;
}

std::vector<std::uint8_t> Raw(ByteReader& input) {
    const auto bytes = input.Bytes(input.Word() % 512);
    return {bytes.begin(), bytes.end()};
}

template <class Parser>
void Deliver(Parser& parser, int port, const std::vector<std::uint8_t>& datagram,
             const std::string& localIP,
             std::optional<ExpectedReply> (*expect)(std::span<const std::uint8_t>),
             TableModel& model) {
    std::optional<ReceivedDatagram> received = Receive(datagram);
    if (!received) {
        return;
    }
    parser.ParserPackage(std::move(received->buffer), received->length, localIP, port);
    if (const std::optional<ExpectedReply> reply = expect(datagram)) {
        model.Push(*reply, localIP);
    }
}

void SwitchFilter(CBroadCastManager& manager, ByteReader& input, TableModel& model) {
    const bool enable = input.Byte() % 2 == 0;
    const std::uint8_t choice = input.Byte();
    const char* text = nullptr;
    std::string chosen;
    switch (choice % 5) {
    case 0:
        chosen =
            model.listed.empty() ? "192.0.2.77" : model.listed[choice / 5 % model.listed.size()];
        text = chosen.c_str();
        break;
    case 1:
        text = "192.0.2.77";
        break;
    case 2:
        text = "";
        break;
    case 3:
        break;
    default:
        // The text of the list itself, as the dialog hands it back.
        text = manager.getIPinfo(choice / 5 % 4 - 1);
        break;
    }
    const std::optional<std::string> wanted =
        text != nullptr ? std::optional<std::string>(text) : std::nullopt;
    const bool result = manager.setIPSearch(enable, text);
    model.listed = ListedAddresses(manager);
    const bool found = wanted && std::find(model.listed.begin(), model.listed.end(), *wanted) !=
                                     model.listed.end();
    Require(result == (!enable || found), "setIPSearch succeeds exactly for a listed address");
    model.filter = enable && found ? wanted : std::nullopt;
}

} // namespace
} // namespace vanmoor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vanmoor;
    using namespace vanmoor::fuzz;
    ByteReader input(data, size);
    CBroadCastManager manager(kPendingLimit);
    CParserImp_4022port parser4022(&manager);
    CParserImp_32970port parser32970(&manager);
    TableModel model(kPendingLimit);

    for (int operation = 0; operation < kMaxOperations && !input.Empty(); ++operation) {
        switch (input.Byte() % 8) {
        case 0:
            Deliver(parser4022, 4022, Shaped4022(input), LocalAddress(input, model),
                    ExpectReply4022, model);
            break;
        case 1:
            Deliver(parser32970, 32970, Shaped32970(input), LocalAddress(input, model),
                    ExpectReply32970, model);
            break;
        case 2:
            Deliver(parser4022, 4022, Raw(input), LocalAddress(input, model), ExpectReply4022,
                    model);
            break;
        case 3:
            Deliver(parser32970, 32970, Raw(input), LocalAddress(input, model), ExpectReply32970,
                    model);
            break;
        case 4:
            manager.UpdateDeviceList();
            model.Update();
            Require(manager.getCounts() == static_cast<int>(model.table.size()),
                    "count of the table");
            break;
        case 5:
            SwitchFilter(manager, input, model);
            break;
        case 6: {
            const bool enable = input.Byte() % 2 == 0;
            const std::int32_t seconds = input.Int32();
            manager.setSaveOption(enable, seconds);
            model.SetSaveOption(enable, seconds);
            break;
        }
        default:
            CheckQueries(manager, input, model);
            break;
        }
    }
    CheckQueries(manager, input, model);
    return 0;
}
