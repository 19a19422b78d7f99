#include "CameraChange.h"

#include "DeviceClient.h"
#include "DeviceSession.h"
#include "HttpUrl.h"
#include "SettingsRule.h"
#include "XAddrWebPage.h"

#include <algorithm>
#include <memory>
#include <thread>

namespace vanmoor::commission {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using onvif::CallOutcome;
using onvif::DeviceClient;
using onvif::DeviceSession;
using onvif::ReadEnd;

// Between two reads of a camera that is not back yet, and two calls at a port it moves to.
constexpr auto kReadPause = 1s;
constexpr auto kPortPause = 250ms;

// Passes calls on and keeps how the last one ended, which the client's answer tells only in
// words: a refused login and a connection lost during a request need their own verdicts.
class OutcomeKeeper final : public onvif::SoapCaller {
public:
    explicit OutcomeKeeper(onvif::SoapCaller& caller) : m_caller(caller) {}

    onvif::CallResult Call(std::string_view action, std::string_view body, bool login) override {
        onvif::CallResult result = m_caller.Call(action, body, login);
        last = result.outcome;
        return result;
    }

    CallOutcome last = CallOutcome::Answered;

private:
    onvif::SoapCaller& m_caller;
};

std::string Seconds(std::chrono::seconds wait) {
    return std::to_string(wait.count()) + " s";
}

std::string UrlWithPort(const std::string& url, std::uint16_t port) {
    std::string why;
    const std::optional<onvif::HttpUrl> parsed = onvif::ParseHttpUrl(url, why);
    if (!parsed) {
        return url; // refused again, with its reason, when the session posts to it
    }
    const bool ipv6 = parsed->host.find(':') != std::string::npos;
    return std::string(parsed->secure ? "https" : "http") + "://" +
           (ipv6 ? "[" + parsed->host + "]" : parsed->host) + ":" + std::to_string(port) +
           parsed->target;
}

// Whatever a change makes of the interface goes last; the rest first.
SettingsChange KeptAtAddress(SettingsChange change) {
    change.address.reset();
    change.netmask.reset();
    change.dhcp.reset();
    return change;
}

SettingsChange InterfaceOnly(const SettingsChange& change) {
    SettingsChange only;
    only.address = change.address;
    only.netmask = change.netmask;
    only.dhcp = change.dhcp;
    return only;
}

bool DhcpAfter(const CameraSettings& read, const SettingsChange& change) {
    return change.dhcp.value_or(read.dhcp.value_or(false));
}

// The settings rule on the address, netmask and gateway the camera will have; a value neither
// given nor read is left to the plan, which refuses the change for it.
std::optional<MessageText> WhyRefused(const CameraSettings& read, const SettingsChange& change) {
    if (DhcpAfter(read, change)) {
        return std::nullopt;
    }
    const std::optional<Ipv4Octets> address = change.address ? change.address : read.address;
    const std::optional<Ipv4Octets> netmask = change.netmask ? change.netmask : read.Netmask();
    if (!address || !netmask) {
        return std::nullopt;
    }
    return WhySettingsRefused(*address, *netmask,
                              change.gateway.value_or(read.gateway.value_or(Ipv4Octets{})));
}

template <typename Value, typename Text>
void CompareSetting(std::vector<std::string>& unlike, const char* what,
                    const std::optional<Value>& given, const std::optional<Value>& seen,
                    Text text) {
    if (given && given != seen) {
        unlike.push_back(std::string(what) + " " + (seen ? text(*seen) : "unknown") + " (asked " +
                         text(*given) + ")");
    }
}

// Each setting given that the read does not show, in words.
std::vector<std::string> Unlike(const CameraSettings& read, const SettingsChange& change,
                                const CameraSettings& seen) {
    const auto dotted = [](const Ipv4Octets& octets) { return settings::DottedText(octets); };
    const auto number = [](std::uint16_t port) { return std::to_string(port); };
    const auto quoted = [](const std::string& name) { return "\"" + name + "\""; };
    const auto onOff = [](bool on) { return std::string(on ? "on" : "off"); };
    std::vector<std::string> unlike;
    if (!DhcpAfter(read, change)) {
        CompareSetting(unlike, "address", change.address, seen.address, dotted);
        CompareSetting(unlike, "netmask", change.netmask, seen.Netmask(), dotted);
    }
    CompareSetting(unlike, "gateway", change.gateway, seen.gateway, dotted);
    CompareSetting(unlike, "DNS 1", change.dns1, seen.Dns1(), dotted);
    CompareSetting(unlike, "DNS 2", change.dns2, seen.Dns2(), dotted);
    CompareSetting(unlike, "HTTP port", change.httpPort, seen.HttpPort(), number);
    CompareSetting(unlike, "name", change.name, seen.name, quoted);
    CompareSetting(unlike, "DHCP", change.dhcp, seen.dhcp, onOff);
    return unlike;
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : ", ") + part;
    }
    return text;
}

// The limits of one request, cut to the time left until `deadline` (a second at least).
onvif::HttpLimits LimitsUntil(onvif::HttpLimits limits, Clock::time_point deadline) {
    const auto left = std::max<std::chrono::milliseconds>(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()), 1s);
    limits.total = std::min(limits.total, left);
    limits.connect = std::min(limits.connect, left);
    return limits;
}

// Waits until the service answers at its new port, which takes the camera a moment: an
// interface request sent before would be lost.
void AwaitPort(DeviceSession& session, Clock::time_point deadline) {
    const onvif::DeviceRequest clock = onvif::GetSystemDateAndTimeRequest();
    while (session.Call(clock.action, clock.body, false).outcome == CallOutcome::Unreachable &&
           Clock::now() + kPortPause < deadline) {
        std::this_thread::sleep_for(kPortPause);
    }
}

constexpr const char* kKeptDetail = "the camera said OK but kept its settings";

// A camera not seen at its new address that still answers at its old one, with that address,
// took the change as done and kept its settings: one read there tells it from one that is gone.
bool KeptOldAddress(HttpTransport& transport, const CameraAccess& camera,
                    const SettingsChange& change, const HttpLimits& limits) {
    if (DhcpAfter(camera.read, change) || !change.address || *change.address == camera.address) {
        return false;
    }
    DeviceSession session(transport, camera.deviceServiceUrl, camera.credentials, limits);
    const onvif::ReadResult read = DeviceClient(session, camera.address).Read();
    return read.end == ReadEnd::Complete && read.settings.address == camera.address;
}

} // namespace

const char* ChangeVerdictText(ChangeVerdict verdict) {
    switch (verdict) {
    case ChangeVerdict::Changed:
        return "changed";
    case ChangeVerdict::NothingToChange:
        return "nothing to change";
    case ChangeVerdict::NotSent:
        return "not sent";
    case ChangeVerdict::LoginRefused:
        return "login refused";
    case ChangeVerdict::Failed:
        return "failed";
    case ChangeVerdict::NotConfirmed:
        return "not confirmed";
    case ChangeVerdict::Kept:
        return "kept";
    }
    return "?";
}

CameraChange::CameraChange(HttpTransport& transport, EndpointWatch& watch, Options options)
    : m_transport(transport), m_watch(watch), m_options(options) {}

CameraChangeResult CameraChange::Apply(const CameraAccess& camera, const SettingsChange& change,
                                       const std::function<void(ChangeProgress)>& progress) {
    const auto tell = [&](ChangeProgress now) {
        if (progress) {
            progress(now);
        }
    };
    CameraChangeResult result;
    const CameraSettings& read = camera.read;
    if (const std::optional<MessageText> why = WhyRefused(read, change)) {
        result.detail = EnglishText(*why);
        return result;
    }
    const onvif::ChangePlan plan = onvif::PlanChange(read, change);
    if (!plan.problem.empty()) {
        result.detail = plan.problem;
        return result;
    }
    if (plan.steps.empty()) {
        result.verdict = ChangeVerdict::NothingToChange;
        result.detail = "the camera has every setting given already";
        return result;
    }
    const bool interfaceChanges = plan.steps.back().step == ChangeStep::Interface;
    const bool portChanges = std::any_of(plan.steps.begin(), plan.steps.end(),
                                         [](const auto& s) { return s.step == ChangeStep::Port; });
    const Clock::time_point deadline = Clock::now() + m_options.wait;

    tell(ChangeProgress::Sending);
    DeviceSession session(m_transport, camera.deviceServiceUrl, camera.credentials,
                          m_options.limits);
    OutcomeKeeper kept(session);
    const onvif::ChangeResult first =
        DeviceClient(kept, camera.address).Change(read, KeptAtAddress(change));
    result.sent = first.sent;
    if (first.end != onvif::ChangeEnd::Sent) {
        result.verdict = kept.last == CallOutcome::LoginRefused ? ChangeVerdict::LoginRefused
                                                                : ChangeVerdict::Failed;
        result.detail = first.problem;
        return result;
    }

    std::string url = portChanges ? UrlWithPort(camera.deviceServiceUrl, *change.httpPort)
                                  : camera.deviceServiceUrl;
    // Every step answered as done: a camera then seen with its old settings kept them.
    bool answered = true;
    if (interfaceChanges) {
        std::unique_ptr<DeviceSession> moved;
        if (portChanges) {
            moved = std::make_unique<DeviceSession>(m_transport, url, camera.credentials,
                                                    m_options.limits);
            AwaitPort(*moved, deadline);
        }
        OutcomeKeeper keptThere(moved ? *moved : session);
        DeviceClient there(keptThere, camera.address);
        const onvif::ChangeResult second = there.Change(read, InterfaceOnly(change));
        // A connection lost while the camera takes its new address is no failure by itself:
        // whether it moved shows below.
        const bool lost = second.end == onvif::ChangeEnd::StepFailed &&
                          keptThere.last == CallOutcome::Unreachable;
        if (second.end != onvif::ChangeEnd::Sent && !lost) {
            result.verdict = keptThere.last == CallOutcome::LoginRefused
                                 ? ChangeVerdict::LoginRefused
                                 : ChangeVerdict::Failed;
            result.detail = second.problem;
            return result;
        }
        if (!lost) {
            result.sent.push_back(ChangeStep::Interface);
        }
        answered = !lost;
        if (second.rebootNeeded) {
            tell(ChangeProgress::Rebooting);
            const std::string refused = there.Reboot();
            if (!refused.empty() && keptThere.last != CallOutcome::Unreachable) {
                result.verdict = ChangeVerdict::Failed;
                result.detail = "the camera takes its new address only after a reboot, and the "
                                "reboot failed: " +
                                refused;
                return result;
            }
            result.rebooted = true;
        }
    }

    std::optional<Ipv4Octets> at = camera.address;
    if (interfaceChanges) {
        tell(ChangeProgress::WaitingForCamera);
        std::optional<EndpointWatch::Sighting> sighting;
        std::string where;
        if (DhcpAfter(read, change)) {
            sighting = m_watch.SeenAnywhere(camera.endpoint, deadline);
            where = "on the network";
        } else {
            const Ipv4Octets address = change.address ? *change.address : camera.address;
            if (auto xaddrs = m_watch.SeenAt(camera.endpoint, address, deadline)) {
                sighting = EndpointWatch::Sighting{address, std::move(*xaddrs)};
            }
            where = "at " + settings::DottedText(address);
        }
        if (!sighting) {
            result.verdict = ChangeVerdict::NotConfirmed;
            result.detail =
                "the camera was not seen " + where + " within " + Seconds(m_options.wait);
            if (answered && KeptOldAddress(m_transport, camera, change, m_options.limits)) {
                result.verdict = ChangeVerdict::Kept;
                result.detail = kKeptDetail;
            }
            return result;
        }
        const std::optional<std::string> service =
            site::DeviceServiceUrlOfXAddrs(sighting->xaddrs, sighting->address);
        if (!service) {
            result.verdict = ChangeVerdict::NotConfirmed;
            result.detail = "the camera was seen at " + settings::DottedText(sighting->address) +
                            ", but named no device service there";
            return result;
        }
        url = *service;
        at = sighting->address;
    }

    tell(ChangeProgress::Verifying);
    result.verdict = ChangeVerdict::NotConfirmed;
    for (;;) {
        DeviceSession again(m_transport, url, camera.credentials,
                            LimitsUntil(m_options.limits, deadline));
        const onvif::ReadResult reread = DeviceClient(again, at).Read();
        if (reread.end == ReadEnd::Complete) {
            result.seen = reread.settings;
            const std::vector<std::string> unlike = Unlike(read, change, reread.settings);
            if (unlike.empty()) {
                result.verdict = ChangeVerdict::Changed;
                result.detail = "the camera shows every new setting at " + url +
                                (result.rebooted ? ", after a reboot" : "");
                return result;
            }
            result.verdict = answered ? ChangeVerdict::Kept : ChangeVerdict::NotConfirmed;
            result.detail = std::string(answered ? kKeptDetail : "the camera answered") +
                            ": it still has " + Joined(unlike);
        } else if (reread.end == ReadEnd::LoginRefused) {
            result.verdict = ChangeVerdict::NotConfirmed;
            result.detail =
                "the camera refused the login when read again at " + url + ": " + reread.detail;
            return result;
        } else {
            result.verdict = ChangeVerdict::NotConfirmed;
            result.detail = "the camera could not be read again at " + url + " within " +
                            Seconds(m_options.wait) + ": " + reread.detail;
        }
        if (Clock::now() + kReadPause >= deadline) {
            return result;
        }
        std::this_thread::sleep_for(kReadPause);
    }
}

} // namespace vanmoor::commission
