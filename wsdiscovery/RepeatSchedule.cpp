#include "RepeatSchedule.h"

#include <algorithm>

namespace vanmoor::wsd {

std::vector<std::chrono::milliseconds> RepeatDelays(int repeats, std::mt19937& random) {
    std::uniform_int_distribution<long> first(kUdpMinDelay.count(), kUdpMaxDelay.count());
    std::vector<std::chrono::milliseconds> delays;
    std::chrono::milliseconds delay{first(random)};
    for (int repeat = 0; repeat < repeats; ++repeat) {
        delays.push_back(delay);
        delay = std::min(delay * 2, kUdpUpperDelay);
    }
    return delays;
}

} // namespace vanmoor::wsd
