#pragma once

#include "DeviceConfig.h"
#include "PugiXmlReader.h"
#include "Simulator.h"
#include "TestNetwork.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace vanmoor::wsd::test {

// WS-Discovery on the wire: simulated devices in the lan namespaces, the scanner and the
// listener in the pc namespace of the test network.
class WsdNetworkTest : public ::testing::Test {
protected:
    // Starts the devices, written as device file lines, in lan `lan` (1 or 2). They answer
    // a Probe within 200 ms.
    devsim::Simulator& StartDevices(int lan, const std::vector<std::string>& lines);

    const vanmoor::test::TestNetwork& net = vanmoor::test::TestNetwork::Get();
    const PugiXmlReader reader;
    std::vector<std::unique_ptr<devsim::Simulator>> simulators;
};

} // namespace vanmoor::wsd::test
