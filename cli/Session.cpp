#include "Session.h"

#include "DeviceMerge.h"
#include "ExitStatus.h"
#include "InterfaceList.h"
#include "LocalAddressReader.h"
#include "ProgressLine.h"
#include "WsdSearch.h"
#include "vanmoor.h"

#include <algorithm>
#include <chrono>
#include <memory>

namespace vanmoor::cli {

namespace {

// The addresses that --interface means: a local address itself, or every IPv4 address of the
// interface of that name.
std::vector<std::string> AddressesOfInterface(const std::string& nameOrAddress) {
    if (settings::ParseDottedAddress(nameOrAddress)) {
        return {nameOrAddress};
    }
    std::vector<std::string> addresses;
    for (const auto& entry : commission::ListInterfaceAddresses()) {
        if (entry.name == nameOrAddress) {
            addresses.push_back(entry.address);
        }
    }
    if (addresses.empty()) {
        throw CliError(ExitStatus::NoInterface,
                       "no interface '" + nameOrAddress + "' with an IPv4 address");
    }
    return addresses;
}

bool SameMac(const DeviceInfo& a, const DeviceInfo& b) {
    return a.mac == b.mac;
}

bool SameEndpoint(const DeviceInfo& a, const DeviceInfo& b) {
    return a.wsd && b.wsd && a.wsd->endpoint == b.wsd->endpoint;
}

// Adds a device of one search to those of the searches before: one already seen takes its
// latest answer in its place of first sight.
template <typename Same>
void KeepLatest(std::vector<DeviceInfo>& seen, DeviceInfo device, Same same) {
    const auto known = std::find_if(
        seen.begin(), seen.end(), [&](const DeviceInfo& earlier) { return same(earlier, device); });
    if (known != seen.end()) {
        *known = std::move(device);
    } else {
        seen.push_back(std::move(device));
    }
}

} // namespace

const std::vector<std::string>& SearchOptionNames() {
    static const std::vector<std::string> names = {"--interface", "--wait", "--repeat"};
    return names;
}

SearchOptions ReadSearchOptions(const Arguments& arguments) {
    SearchOptions options;
    options.interface = arguments.Value("--interface");
    options.waitMilliseconds = arguments.Integer("--wait", 1500, 1, 600000);
    options.rounds = arguments.Integer("--repeat", 1, 1, 100);
    if (const std::optional<std::string> protocols = arguments.Value(kProtocolOption)) {
        options.protocols = ParseProtocols(*protocols);
    }
    return options;
}

Session::Session(const Console& console, bool showProgress, SearchOptions options)
    : m_Console(console), m_ShowProgress(showProgress), m_Options(std::move(options)) {
    if (init() == nullptr) {
        throw CliError(ExitStatus::Failed, "the discovery library could not start");
    }
    try {
        RefreshAddresses();
    } catch (...) {
        deinit();
        throw;
    }
}

Session::~Session() {
    deinit();
}

bool Session::Filter(const std::string& address) {
    return setIPSearch(address.empty() ? 0 : 1, address.c_str());
}

std::vector<std::string> Session::RefreshAddresses() {
    Filter("");
    const std::vector<std::string> listed = LocalAddresses();
    if (listed.empty()) {
        throw CliError(ExitStatus::NoInterface, "no usable local interface (no IPv4 address)");
    }
    if (!m_Options.interface) {
        return listed;
    }
    std::vector<std::string> wanted = AddressesOfInterface(*m_Options.interface);
    std::erase_if(wanted, [&](const std::string& address) {
        return std::find(listed.begin(), listed.end(), address) == listed.end();
    });
    if (wanted.empty()) {
        throw CliError(ExitStatus::NoInterface,
                       settings::ParseDottedAddress(*m_Options.interface)
                           ? "no local interface has the address " + *m_Options.interface
                           : "interface '" + *m_Options.interface + "' is down or has no usable "
                                                                     "IPv4 address");
    }
    return wanted;
}

std::vector<std::string> Session::LocalAddresses() const {
    std::vector<std::string> addresses;
    for (int i = 0; i < getIPcount(); ++i) {
        if (const char* address = getIPinfo(i)) {
            addresses.emplace_back(address);
        }
    }
    return addresses;
}

std::vector<DeviceInfo> Session::SearchOnce() {
    const std::vector<std::string> reported = RefreshAddresses();
    bool sent = false;
    {
        const ProgressLine progress(m_Console.err, m_ShowProgress, m_Console.errTakesEscapes,
                                    "searching", m_Options.waitMilliseconds);
        sent = search(m_Options.waitMilliseconds);
    }
    if (!sent) {
        throw CliError(ExitStatus::Failed, "the search requests could not be sent");
    }
    std::vector<std::optional<DeviceInfo>> table;
    for (int index = 0; index < getCounts(); ++index) {
        table.push_back(ReadDevice(index));
    }
    NameLocalAddresses(table);
    const auto isReported = [&](const DeviceInfo& device) {
        return !m_Options.interface ||
               std::find(reported.begin(), reported.end(), device.localAddress) != reported.end();
    };
    std::vector<DeviceInfo> devices;
    for (auto& device : table) {
        if (device && isReported(*device)) {
            devices.push_back(std::move(*device));
        }
    }
    return devices;
}

void Session::NameLocalAddresses(std::vector<std::optional<DeviceInfo>>& table) {
    static constexpr listing::LocalAddressQueries kExports = {
        .setIPSearch = &::setIPSearch,
        .getIPcount = &::getIPcount,
        .getIPinfo = &::getIPinfo,
        .getMacString = &::getMacString,
    };
    const std::vector<std::optional<std::string>> local =
        listing::ReadLocalAddresses(kExports, static_cast<int>(table.size()), "");
    for (std::size_t index = 0; index < table.size(); ++index) {
        if (table[index]) {
            table[index]->localAddress = local[index];
        }
    }
}

std::unique_ptr<site::WsdSearch> Session::StartWsdSearch() {
    site::WsdSearch::Options options;
    if (m_Options.interface) {
        options.localAddresses = RefreshAddresses();
    }
    options.target = m_Options.wsdTarget;
    // As long as the library's search, beside which it runs: time enough for the probe's
    // repeats (the last within 750 ms) and the cameras' answer delay (up to 500 ms).
    options.wait = std::chrono::milliseconds(m_Options.waitMilliseconds);
    return std::make_unique<site::WsdSearch>(std::move(options));
}

std::vector<DeviceInfo> Session::Search(bool withWsd) {
    std::vector<DeviceInfo> deviceProtocol;
    std::vector<DeviceInfo> wsd;
    for (int round = 0; round < m_Options.rounds; ++round) {
        // Each round probes again, so that a camera that missed one scan's probes is found.
        const std::unique_ptr<site::WsdSearch> wsdRound = withWsd ? StartWsdSearch() : nullptr;
        if (m_Options.protocols.DeviceProtocols()) {
            for (DeviceInfo& device : SearchOnce()) {
                if (m_Options.protocols.Admits(device.protocol)) {
                    KeepLatest(deviceProtocol, std::move(device), SameMac);
                }
            }
        }
        if (wsdRound) {
            for (DeviceInfo& device : wsdRound->Devices()) {
                KeepLatest(wsd, std::move(device), SameEndpoint);
            }
        }
    }
    return withWsd ? listing::MergeDevices(std::move(deviceProtocol), wsd) : deviceProtocol;
}

std::optional<DeviceInfo> Session::Find(const MacBytes& mac) {
    for (int round = 0; round < m_Options.rounds; ++round) {
        for (DeviceInfo& device : SearchOnce()) {
            if (device.mac == mac) {
                return std::move(device);
            }
        }
    }
    return std::nullopt;
}

} // namespace vanmoor::cli
