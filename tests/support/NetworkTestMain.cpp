#include "TestNetwork.h"

#include <cstdio>
#include <gtest/gtest.h>

// Network tests broadcast: they run only inside the private test network, never on the real
// interfaces of the machine.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::string why;
    if (!vanmoor::test::InsideTestNetwork(why)) {
        std::fprintf(stderr,
                     "Refusing to run network tests outside the private test network (%s).\n"
                     "Run them through tests/netns/testnet.sh, as ctest does.\n",
                     why.c_str());
        return 1;
    }
    return RUN_ALL_TESTS();
}
