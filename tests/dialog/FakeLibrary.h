#pragma once

#include "LibraryApi.h"
#include "SharedSettings.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrun::test {

struct FakeDevice {
    std::string name; // bytes as the device sent them, at most 23
    Ipv4Octets ip{};
    Ipv4Octets netmask{};
    Ipv4Octets gateway{};
    Ipv4Octets dns1{};
    Ipv4Octets dns2{};
    MacBytes mac{};
    int port = 0;
    bool dhcp = false;
    char protocol = 0;    // 0: found on port 4022, 1: on port 32970
    bool missing = false; // an entry that every query misses (counted all the same)
    // The local address it was found through: the filter of any other hides it. Empty: every
    // filter shows it.
    std::string localAddress{};
    bool ignoresSets = false; // misses every settings command, even with setsChangeDevices
    int type = 0;
    std::string deviceCode{}; // at most 10 bytes
    std::string version{};    // at most 17
    std::string brand{};      // at most 33
    std::string model{};      // at most 33
    std::string cameraName{}; // at most 65
};

// A stand-in for the library: answers the dialog's calls from the fields below and records
// them. One instance at a time; the table from Api() reaches it through a global pointer, as
// the real exports reach their manager.
class FakeLibrary {
public:
    FakeLibrary();
    ~FakeLibrary();
    FakeLibrary(const FakeLibrary&) = delete;
    FakeLibrary& operator=(const FakeLibrary&) = delete;

    LibraryApi Api() const;

    std::vector<std::string> localAddresses;
    // When set, setIPSearch() switches to these addresses first, as the host's list changed.
    std::optional<std::vector<std::string>> addressesAtNextSetIPSearch;
    std::vector<FakeDevice> devices;
    // The address setIPSearch() filters on; none while the filter is off.
    std::optional<std::string> filter;
    bool searchSucceeds = true;
    // Runs inside search(), on the caller's thread: lets a test hold a search open.
    std::function<void()> duringSearch;
    int setResult = 1;
    // When set, set() and set_MD5() give the device with the record's MAC its new settings, as
    // its answer to the next search would show them.
    bool setsChangeDevices = false;

    // Every call, as "name(arguments)", in order.
    std::vector<std::string> calls;
    std::optional<NetSettings> lastSet;
    std::optional<AuthNetSettings> lastSetMd5;
};

} // namespace kestrun::test
