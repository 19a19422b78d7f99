#include "DeviceWatch.h"

#include <algorithm>

namespace vanmoor::cli {

namespace {

constexpr int kMissedToBeGone = 2;

Record Event(const std::string& time, const std::string& kind, const DeviceInfo& device,
             const DeviceInfo* previous) {
    const auto text = [](const DeviceInfo& d) {
        return d.AddressKnown() ? Value(settings::DottedText(d.ip)) : Value{};
    };
    return {
        {"time", time},
        {"event", kind},
        {"mac", device.mac ? Value(settings::MacColonText(*device.mac)) : Value{}},
        {"ip", text(device)},
        {"port", static_cast<long long>(device.port)},
        {"name", device.name},
        {"previous_ip", previous ? text(*previous) : Value{}},
        {"previous_port", previous ? Value(static_cast<long long>(previous->port)) : Value{}},
        {"previous_name", previous ? Value(previous->name) : Value{}},
        {"endpoint", device.wsd ? Value(device.wsd->endpoint) : Value{}},
    };
}

// The same device: by MAC, or by endpoint reference where both answered WS-Discovery.
bool SameDevice(const DeviceInfo& a, const DeviceInfo& b) {
    return DeviceIdentity(a) == DeviceIdentity(b) ||
           (a.wsd && b.wsd && a.wsd->endpoint == b.wsd->endpoint);
}

bool Changed(const DeviceInfo& a, const DeviceInfo& b) {
    return a.ip != b.ip || a.name != b.name || a.port != b.port;
}

} // namespace

const std::vector<std::string>& DeviceWatch::EventKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> names;
        for (const Field& field : Event("", "", DeviceInfo{}, nullptr)) {
            names.push_back(field.key);
        }
        return names;
    }();
    return keys;
}

std::vector<Record> DeviceWatch::Update(const std::vector<DeviceInfo>& found,
                                        const std::string& time) {
    std::vector<Record> events;
    for (Tracked& tracked : m_Known) {
        ++tracked.missed;
    }
    for (const DeviceInfo& device : found) {
        const auto known = Known(device);
        if (known == m_Known.end()) {
            events.push_back(Event(time, "new", device, nullptr));
            m_Known.push_back({device, 0});
            continue;
        }
        if (Changed(known->device, device)) {
            events.push_back(Event(time, "changed", device, &known->device));
        }
        *known = {device, 0};
    }
    for (auto it = m_Known.begin(); it != m_Known.end();) {
        if (it->missed >= kMissedToBeGone) {
            events.push_back(Event(time, "gone", it->device, nullptr));
            it = m_Known.erase(it);
        } else {
            ++it;
        }
    }
    return events;
}

std::vector<Record> DeviceWatch::Announce(const DeviceInfo& device, bool arrived,
                                          const std::string& time) {
    const auto known = Known(device);
    if (arrived && known == m_Known.end()) {
        m_Known.push_back({device, 0});
        return {Event(time, "new", device, nullptr)};
    }
    if (!arrived && known != m_Known.end() && !known->device.SpeaksDeviceProtocol()) {
        const Record gone = Event(time, "gone", known->device, nullptr);
        m_Known.erase(known);
        return {gone};
    }
    return {};
}

std::vector<DeviceWatch::Tracked>::iterator DeviceWatch::Known(const DeviceInfo& device) {
    return std::find_if(m_Known.begin(), m_Known.end(),
                        [&](const Tracked& tracked) { return SameDevice(tracked.device, device); });
}

} // namespace vanmoor::cli
