#include "DeviceGenerator.h"

namespace vanmoor::devsim {

namespace {

// Adds `amount` to a big-endian number of N bytes, wrapping around at its top.
template <std::size_t N>
std::array<std::uint8_t, N> AddToBytes(std::array<std::uint8_t, N> bytes, std::uint64_t amount) {
    for (std::size_t i = N; i-- > 0 && amount != 0;) {
        const std::uint64_t sum = bytes[i] + amount;
        bytes[i] = static_cast<std::uint8_t>(sum);
        amount = sum >> 8;
    }
    return bytes;
}

} // namespace

std::vector<SimDevice> GenerateDevices(const SimDevice& first, std::size_t count) {
    std::vector<SimDevice> devices;
    devices.reserve(count);
    for (std::size_t n = 0; n < count; ++n) {
        SimDevice device = first;
        device.mac = AddToBytes(first.mac, n);
        device.ip = AddToBytes(first.ip, n);
        device.name = first.name + std::to_string(n + 1);
        // Each its own endpoint, made from its MAC address.
        device.wsd.endpoint.clear();
        CheckDevice(device);
        devices.push_back(std::move(device));
    }
    return devices;
}

} // namespace vanmoor::devsim
