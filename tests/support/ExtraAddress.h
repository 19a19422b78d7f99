#pragma once

#include <string>

namespace vanmoor::test {

// One more IPv4 address on an interface of the pc namespace of the test network, for as long as
// the object lives: `ip addr add ADDRESS/PREFIX dev DEVICE [label LABEL]`. Throws
// std::runtime_error when the address cannot be added.
class ExtraAddress {
public:
    ExtraAddress(std::string addressWithPrefix, std::string device, std::string label = "");
    ~ExtraAddress();
    ExtraAddress(const ExtraAddress&) = delete;
    ExtraAddress& operator=(const ExtraAddress&) = delete;

private:
    std::string m_Address;
    std::string m_Device;
};

} // namespace vanmoor::test
