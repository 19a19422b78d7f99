#pragma once

#include <chrono>
#include <random>
#include <vector>

namespace vanmoor::wsd {

// Retransmission of the SOAP-over-UDP binding that WS-Discovery 2005/04 uses: a message is
// sent once and then repeated this many times, the repeats identical to it (MessageID
// included), so that a receiver that got the first drops them. A multicast probe is repeated
// twice (the later 1.1 binding lowered its default to once): one lost probe must not hide a
// camera on a busy network.
inline constexpr int kMulticastUdpRepeat = 2;
inline constexpr int kUnicastUdpRepeat = 1;
// The first repeat waits a random time between the minimum and maximum delay; each further
// one waits twice as long as the one before, never longer than the upper delay.
inline constexpr std::chrono::milliseconds kUdpMinDelay{50};
inline constexpr std::chrono::milliseconds kUdpMaxDelay{250};
inline constexpr std::chrono::milliseconds kUdpUpperDelay{500};
// A device waits up to this long before it answers a multicast probe, so a scan keeps
// listening at least this long after its last send.
inline constexpr std::chrono::milliseconds kAppMaxDelay{500};

// The waits before each of `repeats` repeats of one message.
std::vector<std::chrono::milliseconds> RepeatDelays(int repeats, std::mt19937& random);

} // namespace vanmoor::wsd
