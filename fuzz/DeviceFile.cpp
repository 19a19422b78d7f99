// Fuzz target: a device file's bytes, read as vanmoor-devsim reads the file it is given. A
// faulty file is refused with std::invalid_argument; every device it accepts passes the
// simulator's checks and answers with a reply that reads as that device.
#include "FuzzCheck.h"
#include "ReplyModel.h"

#include "DeviceConfig.h"
#include "ReplyBuilder.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vanmoor::devsim;
    using vanmoor::fuzz::Require;
    std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<SimDevice> devices;
    try {
        devices = ReadDeviceFile(file, "devices.conf");
    } catch (const std::invalid_argument&) {
        return 0;
    }
    for (const SimDevice& device : devices) {
        CheckDevice(device);
        // The library's parser takes the device's reply for this device.
        const Bytes reply = BuildReply(device);
        const auto expected = device.protocol == Protocol::Port4022
                                  ? vanmoor::fuzz::ExpectReply4022(reply)
                                  : vanmoor::fuzz::ExpectReply32970(reply);
        Require(expected && expected->mac == device.mac && expected->ip == device.ip,
                "a device's reply parses as that device");
    }
    return 0;
}
