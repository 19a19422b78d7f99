#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::devsim {

using Ipv4 = std::array<std::uint8_t, 4>; // first dotted number first
using Mac = std::array<std::uint8_t, 6>;  // display order

enum class Protocol { Port4022, Port32970 };

// Where a device sends its answer to a search request.
enum class ReplyMode {
    Broadcast,       // 255.255.255.255, on the protocol port
    SubnetBroadcast, // the broadcast address of the device's own subnet, on the protocol port
    Unicast,         // the requester's source address and port
};

// Misbehaviour of a WS-Discovery device towards probes, for tests of a scanner's defences.
enum class WsdHostile {
    None,
    Malformed,      // the answer cut in the middle of its XML
    Oversized,      // the answer padded past the 32,767 bytes a datagram may hold
    Doctype,        // the answer with a document type declaring entities, and using them
    Twice,          // the same answer, MessageID included, sent twice
    ForeignRelates, // the answer relating to a MessageID that no probe had
};

// Which probes a WS-Discovery device hears.
enum class WsdProbes {
    All,
    UnicastOnly, // only probes sent to its own address, as behind a network that drops multicast
};

// A device's WS-Discovery side (UDP port 3702). Lists are kept as written; empty ones take the
// defaults that WsdMessages.h describes.
struct WsdSettings {
    bool enabled = false;
    std::string endpoint;            // the endpoint reference, urn:uuid:...
    std::vector<std::string> types;  // {namespace}local or tdn:/tds: names
    std::vector<std::string> scopes; // URIs
    std::vector<std::string> xaddrs; // URLs
    std::uint32_t metadataVersion = 1;
    WsdHostile hostile = WsdHostile::None;
    WsdProbes probes = WsdProbes::All;
    unsigned probesToIgnore = 0; // the first probe datagrams it never hears, as if lost

    bool operator==(const WsdSettings&) const = default;
};

// Which logins a device's web service takes.
enum class ServiceLogin { Digest, UsernameToken, Both };

// What a device's web service does with a request that changes a setting.
enum class ServiceChanges {
    Apply,  // takes the change (after a reboot when rebootNeeded says so)
    Ignore, // answers as if it took it and keeps every setting as it was
    Drop,   // closes the connection without an answer body and keeps every setting
};

// Misbehaviour of a device's web service towards every request, for tests of a client's
// defences.
enum class ServiceHostile {
    None,
    Huge,     // an answer body of 64 MiB
    Endless,  // an answer body that never ends
    Drip,     // an answer body that never ends, a byte every 100 ms
    Doctype,  // an answer with a document type declaring entities, and using them
    Redirect, // 307 to another address
    OddFault, // a SOAP fault whose text holds control characters and is very long
};

// A device's web service: the SOAP device service at the path of its XAddrs, on its own address
// and web port, which the simulator adds to its lan's interface.
struct ServiceSettings {
    bool enabled = false;
    ServiceLogin login = ServiceLogin::Both;
    std::int64_t clockOffsetSeconds = 0;         // the device's clock against the host's
    bool rebootNeeded = false;                   // a new address takes effect at SystemReboot
    std::chrono::milliseconds rebootPause{3000}; // silent while it reboots
    ServiceChanges changes = ServiceChanges::Apply;
    ServiceHostile hostile = ServiceHostile::None;
    std::string serial = "SIM0000001";
    std::string hardware = "HW-1";

    bool operator==(const ServiceSettings&) const = default;
};

constexpr std::uint16_t PortNumber(Protocol protocol) {
    return protocol == Protocol::Port4022 ? 4022 : 32970;
}

// Widths of the text fields that the replies carry.
constexpr std::size_t kNameWidth4022 = 18;
constexpr std::size_t kNameWidth32970 = 32;
constexpr std::size_t kVersionWidth = 16;
constexpr std::size_t kBrandWidth = 32;
constexpr std::size_t kModelWidth = 32;
constexpr std::size_t kCameraNameWidth = 64;
// A port-4022 reply is cut to its chosen length; the full layout is 220 bytes.
constexpr std::size_t kMinReplyLength4022 = 56;
constexpr std::size_t kFullReplyLength4022 = 220;
constexpr std::size_t kMaxReplyLength4022 = 500;
// Ports travel as five decimal digits on port 4022.
constexpr std::int32_t kMaxPort = 99999;

constexpr std::size_t NameWidth(Protocol protocol) {
    return protocol == Protocol::Port4022 ? kNameWidth4022 : kNameWidth32970;
}

// The settings of one simulated device. Texts are raw 8-bit bytes. Fields that one protocol
// does not carry are ignored for devices of the other.
struct SimDevice {
    Protocol protocol = Protocol::Port4022;
    Mac mac{};
    Ipv4 ip{};
    Ipv4 netmask{255, 255, 255, 0};
    Ipv4 gateway{};
    Ipv4 dns1{};
    Ipv4 dns2{};
    std::string name;
    std::int32_t webPort = 80;
    std::int32_t secondPort = 0;
    bool dhcp = false;
    std::uint8_t type = 0;              // port 4022 only
    std::array<std::uint8_t, 4> code{}; // port 4022 only
    std::string version;
    std::string brand;
    std::string model;
    std::string cameraName;                         // port 4022 only
    std::size_t replyLength = kFullReplyLength4022; // port 4022 only
    // Credentials of the port-32970 digest and of the web service.
    std::string user = "admin";
    std::string password = "admin";
    std::optional<ReplyMode> replyMode;                  // unset: the reply plan's mode
    std::optional<std::chrono::milliseconds> replyDelay; // unset: the reply plan's delay
    // Settings commands for this device that it drops unanswered before it obeys again, as if
    // they were lost on the way: for tests and benchmarks of resending.
    unsigned commandsToDrop = 0;
    // False for a device that speaks WS-Discovery alone: it ignores both device protocols.
    bool answersDeviceProtocol = true;
    WsdSettings wsd;
    ServiceSettings service;

    bool operator==(const SimDevice&) const = default;
};

// Throws std::invalid_argument naming the first setting that the device's replies cannot carry.
void CheckDevice(const SimDevice& device);

} // namespace vanmoor::devsim
