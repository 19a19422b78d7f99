#include "ReplyPlan.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace vanmoor::devsim {

void CheckReplyPlan(const ReplyPlan& plan, std::size_t deviceCount) {
    if (plan.delay.count() < 0 || plan.wsdMaxDelay.count() < 0) {
        throw std::invalid_argument("negative reply delay");
    }
    if (plan.order != ReplyOrder::Explicit) {
        return;
    }
    std::vector<std::size_t> sorted = plan.permutation;
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::size_t> all(deviceCount);
    std::iota(all.begin(), all.end(), 0);
    if (sorted != all) {
        throw std::invalid_argument("the reply order must name every device index from 0 to " +
                                    std::to_string(deviceCount) + " - 1 exactly once");
    }
}

std::vector<std::size_t> AnswerOrder(const ReplyPlan& plan, std::size_t deviceCount) {
    if (plan.order == ReplyOrder::Explicit) {
        return plan.permutation;
    }
    std::vector<std::size_t> order(deviceCount);
    std::iota(order.begin(), order.end(), 0);
    if (plan.order == ReplyOrder::Reverse) {
        std::reverse(order.begin(), order.end());
    }
    return order;
}

} // namespace vanmoor::devsim
