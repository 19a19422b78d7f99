#include "ExtraAddress.h"

#include "TestNetwork.h"

#include <cstdlib>
#include <stdexcept>

namespace vanmoor::test {

ExtraAddress::ExtraAddress(std::string addressWithPrefix, std::string device, std::string label)
    : m_Address(std::move(addressWithPrefix)), m_Device(std::move(device)) {
    // Only ever inside the private test network: the addresses of real interfaces stay alone.
    // Checked before the first address is added, while the network is as testnet.sh made it.
    static std::string why;
    static const bool inside = InsideTestNetwork(why);
    if (!inside) {
        throw std::runtime_error("not adding an address outside the test network: " + why);
    }
    std::string command = "ip addr add " + m_Address + " dev " + m_Device;
    if (!label.empty()) {
        command += " label " + label;
    }
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("failed: " + command);
    }
}

ExtraAddress::~ExtraAddress() {
    const std::string command = "ip addr del " + m_Address + " dev " + m_Device;
    [[maybe_unused]] const int status = std::system(command.c_str());
}

} // namespace vanmoor::test
