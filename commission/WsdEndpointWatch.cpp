#include "WsdEndpointWatch.h"

#include "PlatformXmlReader.h"
#include "WsdDevice.h"
#include "WsdListener.h"
#include "WsdSearch.h"

#include <algorithm>

namespace vanmoor::commission {

namespace {

using Clock = std::chrono::steady_clock;

// The camera `endpoint` seen at the address its answer or Hello came from, which must be
// `wanted` when given. Its XAddrs are its own word: another host they name is never taken for
// where it is.
std::optional<EndpointWatch::Sighting> Sighted(std::string_view endpoint,
                                               const std::optional<settings::Ipv4Octets>& wanted,
                                               const site::SiteDevice& seen) {
    if (!seen.wsd || seen.wsd->endpoint != endpoint || !seen.wsd->answeredFrom ||
        (wanted && *seen.wsd->answeredFrom != *wanted)) {
        return std::nullopt;
    }
    return EndpointWatch::Sighting{*seen.wsd->answeredFrom, seen.wsd->xaddrs};
}

} // namespace

// The listener with the reader it reads through, which must outlive it.
struct WsdEndpointWatch::Listening {
    explicit Listening(std::vector<std::string> localAddresses)
        : reader(wsd::MakeXmlReader()), listener(*reader, OptionsFor(std::move(localAddresses))) {}

    static wsd::WsdListener::Options OptionsFor(std::vector<std::string> localAddresses) {
        wsd::WsdListener::Options options;
        options.localAddresses = std::move(localAddresses);
        return options;
    }

    std::unique_ptr<wsd::XmlReader> reader;
    wsd::WsdListener listener;
};

WsdEndpointWatch::WsdEndpointWatch(Options options)
    : m_options(std::move(options)),
      m_listening(std::make_unique<Listening>(m_options.localAddresses)) {
    // Where the discovery port cannot be listened on (another program holds it), the probes
    // still find the camera.
    m_listening->listener.Start();
}

WsdEndpointWatch::~WsdEndpointWatch() = default;

std::optional<std::vector<std::string>>
WsdEndpointWatch::SeenAt(std::string_view endpoint, const settings::Ipv4Octets& address,
                         Clock::time_point deadline) {
    std::optional<Sighting> sighting = Watch(endpoint, address, deadline);
    return sighting ? std::optional(std::move(sighting->xaddrs)) : std::nullopt;
}

std::optional<EndpointWatch::Sighting> WsdEndpointWatch::SeenAnywhere(std::string_view endpoint,
                                                                      Clock::time_point deadline) {
    return Watch(endpoint, std::nullopt, deadline);
}

std::optional<EndpointWatch::Sighting>
WsdEndpointWatch::Watch(std::string_view endpoint,
                        const std::optional<settings::Ipv4Octets>& address,
                        Clock::time_point deadline) {
    for (Clock::time_point now = Clock::now(); now < deadline; now = Clock::now()) {
        const auto round = std::min<Clock::duration>(m_options.probeWait, deadline - now);
        site::WsdSearch::Options probe;
        probe.localAddresses = m_options.localAddresses;
        if (address) {
            probe.target = settings::DottedText(*address);
        }
        probe.wait = std::chrono::duration_cast<std::chrono::milliseconds>(round);
        site::WsdSearch search(probe);
        // Hellos while the probe waits for its answers.
        for (Clock::time_point roundEnd = now + round; Clock::now() < roundEnd;) {
            const auto patience =
                std::chrono::ceil<std::chrono::milliseconds>(roundEnd - Clock::now());
            for (const wsd::Announcement& heard : m_listening->listener.Poll(patience)) {
                if (heard.kind != wsd::Announcement::Kind::Hello) {
                    continue;
                }
                if (auto sighting = Sighted(
                        endpoint, address,
                        site::DeviceFromTarget(heard.target, heard.receivedOn, heard.sender))) {
                    return sighting;
                }
            }
        }
        for (const site::SiteDevice& device : search.Devices()) {
            if (auto sighting = Sighted(endpoint, address, device)) {
                return sighting;
            }
        }
    }
    return std::nullopt;
}

} // namespace vanmoor::commission
