#pragma once

#include <string>

namespace vanmoor::test {

// Changes to the pc namespace of the test network that last as long as the object. Each throws
// std::runtime_error when the change cannot be made, and only ever runs inside the private test
// network.

// One more IPv4 address on an interface: `ip addr add ADDRESS/PREFIX dev DEVICE [label LABEL]`.
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

// An address taken off an interface (`ip addr del`), and put back the way testnet.sh set it.
class RemovedAddress {
public:
    RemovedAddress(std::string addressWithPrefix, std::string device);
    ~RemovedAddress();
    RemovedAddress(const RemovedAddress&) = delete;
    RemovedAddress& operator=(const RemovedAddress&) = delete;

private:
    std::string m_Address;
    std::string m_Device;
};

// An interface taken down (`ip link set DEVICE down`); brought up again with the routes that
// testnet.sh gave it.
class LinkDown {
public:
    explicit LinkDown(std::string device);
    ~LinkDown();
    LinkDown(const LinkDown&) = delete;
    LinkDown& operator=(const LinkDown&) = delete;

private:
    std::string m_Device;
};

} // namespace vanmoor::test
