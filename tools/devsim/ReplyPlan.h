#pragma once

#include "SimDevice.h"

#include <chrono>
#include <cstddef>
#include <vector>

namespace vanmoor::devsim {

enum class ReplyOrder {
    DeviceOrder, // the order in which the devices were given
    Reverse,
    Explicit, // ReplyPlan::permutation
};

// How all devices answer a search request, unless a device has a mode or delay of its own.
// Replies leave by due time (arrival of the request plus the device's delay); replies due at the
// same time leave in the chosen order, the whole round `repeat` times over.
struct ReplyPlan {
    ReplyMode mode = ReplyMode::Broadcast;
    std::chrono::milliseconds delay{0};
    ReplyOrder order = ReplyOrder::DeviceOrder;
    std::vector<std::size_t> permutation; // device indices, each exactly once
    unsigned repeat = 1;                  // 0: nobody answers
    // WS-Discovery devices answer a Probe each after a random wait up to this long.
    std::chrono::milliseconds wsdMaxDelay{500};

    bool operator==(const ReplyPlan&) const = default;
};

// Throws std::invalid_argument when a delay is negative or an explicit order is not a
// permutation of 0..deviceCount-1.
void CheckReplyPlan(const ReplyPlan& plan, std::size_t deviceCount);

// Device indices in the order the plan answers in.
std::vector<std::size_t> AnswerOrder(const ReplyPlan& plan, std::size_t deviceCount);

} // namespace vanmoor::devsim
