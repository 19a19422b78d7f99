#include "TableModel.h"

#include <algorithm>

namespace vanmoor::fuzz {

namespace {

// Longer than any run of one input: a limit this long drops nothing.
constexpr std::int32_t kClearlyFresh = 3600;

} // namespace

void TableModel::Push(const ExpectedReply& reply, const std::string& localIP) {
    const auto known = std::find_if(pending.begin(), pending.end(), [&](const Device& device) {
        return device.reply.mac == reply.mac;
    });
    if (known != pending.end()) {
        known->reply = reply;
        known->localIP = localIP;
    } else if (pending.size() < pendingLimit) {
        pending.push_back({reply, localIP});
    }
}

void TableModel::Update() {
    table.clear();
    for (Device& device : pending) {
        const bool listedAddress =
            std::find(listed.begin(), listed.end(), device.localIP) != listed.end();
        if (!listedAddress || (saveOption && saveSeconds < 0)) {
            table.emplace_back();
            continue;
        }
        device.mayBeAged = saveOption && saveSeconds < kClearlyFresh;
        table.emplace_back(device);
    }
    pending.clear();
}

void TableModel::SetSaveOption(bool enable, std::int32_t seconds) {
    saveOption = enable;
    saveSeconds = seconds;
}

const TableModel::Device* TableModel::Find(int index, bool& certain) const {
    certain = true;
    if (index < 0 || static_cast<std::size_t>(index) >= table.size()) {
        return nullptr;
    }
    const std::optional<Device>& device = table[static_cast<std::size_t>(index)];
    if (!device || (filter && device->localIP != *filter)) {
        return nullptr;
    }
    certain = !device->mayBeAged;
    return &*device;
}

} // namespace vanmoor::fuzz
