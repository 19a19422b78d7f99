#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vanmoor::test {

// The private network that tests/netns/testnet.sh builds around a test program: the program runs
// in the pc namespace; each lan namespace is reachable through one pc interface.
struct TestNetwork {
    std::vector<std::string> pcAddresses;  // pc side address of lan 1, then lan 2
    std::vector<int> lanPids;              // a process living in each lan namespace
    std::vector<std::string> lanAddresses; // lan side address of each lan

    // The network this process runs in; valid only after InsideTestNetwork() returned true.
    static const TestNetwork& Get();
};

// True when this process runs inside testnet.sh's private network and nowhere else: the
// environment says so and the only interfaces are loopback and the two veth links. Otherwise
// false, with the reason in `why`.
bool InsideTestNetwork(std::string& why);

// Runs `task` on a thread that has joined lan `lan`'s (1 or 2) network namespace and waits for
// it. Sockets created by `task` live in that namespace for good, whichever thread uses them
// later. An exception thrown by `task` is rethrown here.
void RunInLan(int lan, const std::function<void()>& task);

} // namespace vanmoor::test
