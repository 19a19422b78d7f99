#include "Browser.h"
#include "Command.h"
#include "DeviceLookup.h"
#include "SettingsForm.h"
#include "SettingsRule.h"
#include "XAddrWebPage.h"

namespace vanmoor::cli {

namespace {

constexpr const char* kAnyHostOption = "--any-host";

// With the dialog's rules for a device-protocol device's address and port; from its transport
// addresses for a device found by WS-Discovery alone: a page on the address it is listed with,
// or on another host only when `anyHost` asks for that.
std::string WebPage(const DeviceInfo& device, bool anyHost) {
    // A page on such an address would be on this computer or nowhere, never the device's.
    if (device.AddressKnown()) {
        if (const auto why = commission::WhyAddressUnusable(device.ip)) {
            throw CliError(ExitStatus::Failed, "device " + DeviceIdentity(device) + ": " +
                                                   commission::EnglishText(*why) +
                                                   ": no web page to open");
        }
    }
    if (!device.SpeaksDeviceProtocol()) {
        if (const std::optional<std::string> page =
                site::WebPageOfXAddrs(device.wsd->xaddrs, device.ip)) {
            return *page;
        }
        const std::optional<site::NamedWebPage> named =
            site::FirstWebPageOfXAddrs(device.wsd->xaddrs);
        if (!named) {
            throw CliError(ExitStatus::Failed, "device " + DeviceIdentity(device) +
                                                   " tells no http or https address: no web "
                                                   "page to open");
        }
        if (!anyHost) {
            throw CliError(ExitStatus::Failed,
                           "device " + DeviceIdentity(device) + " names a web page on the host " +
                               named->host + ", not on its address " +
                               (device.AddressKnown() ? settings::DottedText(device.ip)
                                                      : std::string("(unknown)")) +
                               ": not opened (" + kAnyHostOption + " opens it anyway)");
        }
        return named->page;
    }
    const std::optional<std::string> address = settings::WebAddress(device.ip, device.port);
    if (!address) {
        throw CliError(ExitStatus::Failed, "device " + DeviceIdentity(device) + " has the port " +
                                               std::to_string(device.port) +
                                               ", outside 0..65535: no web page to open");
    }
    return *address;
}

} // namespace

// The device's web page.
ExitStatus RunOpen(const CommandContext& context) {
    OptionSet options;
    options.withValue.push_back(kProtocolOption);
    options.switches.push_back("--print");
    options.switches.push_back(kAnyHostOption);
    const Arguments arguments(context.words, WithCommonOptions(options));
    const DeviceKey key = ParseDeviceArgument(arguments.Single("MAC address or endpoint"));
    Session session(context.console, !context.quiet, ReadSearchOptions(arguments));
    const std::string address = WebPage(FindDevice(session, key), arguments.Has(kAnyHostOption));
    if (arguments.Has("--print")) {
        context.console.out << address << '\n';
        return ExitStatus::Success;
    }
    if (!OpenInBrowser(address)) {
        throw CliError(ExitStatus::Failed, "no browser could open " + address);
    }
    return ExitStatus::Success;
}

} // namespace vanmoor::cli
