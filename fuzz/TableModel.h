#pragma once

#include "ReplyModel.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::fuzz {

// What the manager's pending list and device table must hold after the operations so far.
struct TableModel {
    struct Device {
        ExpectedReply reply;
        std::string localIP;
        // Dropped or kept by the save option's age limit, which depends on the clock.
        bool mayBeAged = false;
    };

    explicit TableModel(std::size_t pendingLimit) : pendingLimit(pendingLimit) {}

    // A reply the parser accepted: the latest contents at the first reply's index.
    void Push(const ExpectedReply& reply, const std::string& localIP);
    // The pending list becomes the table; records of unlisted addresses and aged ones go.
    void Update();
    void SetSaveOption(bool enable, std::int32_t seconds);

    // The device a query of `index` must find: nothing for a miss. `certain` is false when the
    // device may or may not be there.
    const Device* Find(int index, bool& certain) const;

    std::size_t pendingLimit;
    std::vector<Device> pending;
    std::vector<std::optional<Device>> table;
    std::vector<std::string> listed;
    std::optional<std::string> filter;
    bool saveOption = false;
    std::int32_t saveSeconds = 0;
};

} // namespace vanmoor::fuzz
