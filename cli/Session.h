#pragma once

#include "Arguments.h"
#include "Console.h"
#include "DeviceReading.h"
#include "ProtocolChoice.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vanmoor::site {
class WsdSearch;
}

namespace vanmoor::cli {

// How a command searches: --interface, --wait, --repeat, and for the commands that take them
// --protocol and --target.
struct SearchOptions {
    std::optional<std::string> interface; // a name ("eth0": all its addresses) or a local address
    int waitMilliseconds = 1500;          // the dialog's wait
    int rounds = 1;
    ProtocolChoice protocols = ProtocolChoice::All();
    std::optional<std::string> wsdTarget; // the WS-Discovery probe by unicast to this address
};

// The option names of SearchOptions every command takes, to add to a command's options.
const std::vector<std::string>& SearchOptionNames();
// The option that chooses the protocols, for the commands that list devices.
inline constexpr const char* kProtocolOption = "--protocol";
SearchOptions ReadSearchOptions(const Arguments& arguments);

// The library's manager for one run of a command: init on construction, deinit at the end.
// Runs searches with a progress line on a terminal.
class Session {
public:
    // Throws CliError: Failed when the library cannot start, NoInterface when there is no
    // local address or `options.interface` names none of them.
    Session(const Console& console, bool showProgress, SearchOptions options);
    // Whether the searches from now on draw their progress line.
    void ShowProgress(bool show) { m_ShowProgress = show; }
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The local addresses the library searches through.
    std::vector<std::string> LocalAddresses() const;
    // Those of them whose devices are reported: the ones --interface names, or all. Throws
    // CliError (NoInterface) when none is left.
    std::vector<std::string> SearchedAddresses() { return RefreshAddresses(); }

    // One search; each device found, with the local address it came through. The local
    // addresses are listed afresh first, since interfaces come and go while a command runs.
    // Throws CliError when the search cannot be made: no local address (or none of
    // --interface) is left, or the requests could not be sent.
    std::vector<DeviceInfo> SearchOnce();
    // The configured number of searches of the chosen device protocols, merged by MAC: a device
    // seen in any of them is listed once with its latest answer, in order of first sight; with
    // WS-Discovery chosen, a WS-Discovery scan beside each, its cameras merged likewise by
    // endpoint reference, then merged in (MergeDevices).
    std::vector<DeviceInfo> Search() { return Search(m_Options.protocols.wsd); }
    // As Search, without WS-Discovery: for the searches that look for devices by MAC.
    std::vector<DeviceInfo> SearchDeviceProtocols() { return Search(false); }
    // Searches until the device answers in the latest search (so that a settings command can
    // reach it), at most the configured number of times. None when it did not answer.
    std::optional<DeviceInfo> Find(const MacBytes& mac);

private:
    // Rebuilds the library's list of local addresses and sets its filter to `address`, or off.
    bool Filter(const std::string& address);
    // Rebuilds the list and returns the local addresses to report devices of: those that
    // --interface names and the library lists now, or all. Throws CliError (NoInterface) when
    // none is left.
    std::vector<std::string> RefreshAddresses();
    // Gives each device of `table` the local address it was found through, when known.
    void NameLocalAddresses(std::vector<std::optional<DeviceInfo>>& table);
    std::vector<DeviceInfo> Search(bool withWsd);
    // A WS-Discovery scan beside the next search.
    std::unique_ptr<site::WsdSearch> StartWsdSearch();

    const Console& m_Console;
    bool m_ShowProgress;
    const SearchOptions m_Options;
};

} // namespace vanmoor::cli
