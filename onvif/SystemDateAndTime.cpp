#include "SystemDateAndTime.h"

#include "DeviceNamespaces.h"
#include "SoapEnvelope.h"
#include "TextItems.h"

#include <array>
#include <charconv>
#include <vector>

namespace vanmoor::onvif {

namespace {

constexpr int kMaxDepth = 32;

// The six numbers of UTCDateTime, in the order of this enum.
enum Field { Year, Month, Day, Hour, Minute, Second, FieldCount };

class UtcHandler final : public wsd::XmlHandler {
public:
    void StartElement(wsd::XmlName name, const wsd::NamespaceStack&) override {
        m_path.push_back(Classify(name));
        m_text.clear();
    }

    void Text(std::string_view text) override {
        if (!m_path.empty() && m_path.back() >= Node::Year && m_text.size() < 64) {
            m_text += text;
        }
    }

    void EndElement(const wsd::NamespaceStack&) override {
        const Node node = m_path.back();
        m_path.pop_back();
        if (node >= Node::Year) {
            const int field = static_cast<int>(node) - static_cast<int>(Node::Year);
            const std::string_view text = wsd::TrimmedText(m_text);
            int value = 0;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), value);
            if (error == std::errc{} && end == text.data() + text.size() && !text.empty()) {
                m_values[field] = value;
            }
        }
    }

    std::optional<std::chrono::sys_seconds> Time() const {
        using namespace std::chrono;
        for (const auto& value : m_values) {
            if (!value) {
                return std::nullopt;
            }
        }
        const auto in = [&](Field field, int low, int high) {
            return *m_values[field] >= low && *m_values[field] <= high;
        };
        // A leap second is read as the second before it.
        if (!in(Year, 1, 9999) || !in(Month, 1, 12) || !in(Day, 1, 31) || !in(Hour, 0, 23) ||
            !in(Minute, 0, 59) || !in(Second, 0, 60)) {
            return std::nullopt;
        }
        const year_month_day date{year(*m_values[Year]),
                                  month(static_cast<unsigned>(*m_values[Month])),
                                  day(static_cast<unsigned>(*m_values[Day]))};
        if (!date.ok()) {
            return std::nullopt;
        }
        return sys_days(date) + hours(*m_values[Hour]) + minutes(*m_values[Minute]) +
               seconds(std::min(*m_values[Second], 59));
    }

private:
    // Where an element stands on the one path that is read; Year..Second are the leaves.
    enum class Node {
        Other,
        Envelope,
        Body,
        Response,
        SystemDateAndTime,
        UtcDateTime,
        Date,
        Time,
        Year,
        Month,
        Day,
        Hour,
        Minute,
        Second
    };

    Node Classify(wsd::XmlName name) const {
        const Node parent = m_path.empty() ? Node::Other : m_path.back();
        const bool soap = name.namespaceUri == kSoap12Namespace;
        const bool device = name.namespaceUri == kDeviceNamespace;
        const bool schema = name.namespaceUri == kSchemaNamespace;
        const std::string_view local = name.localName;
        if (m_path.empty()) {
            return soap && local == "Envelope" ? Node::Envelope : Node::Other;
        }
        switch (parent) {
        case Node::Envelope:
            return soap && local == "Body" ? Node::Body : Node::Other;
        case Node::Body:
            return device && local == "GetSystemDateAndTimeResponse" ? Node::Response : Node::Other;
        case Node::Response:
            return device && local == "SystemDateAndTime" ? Node::SystemDateAndTime : Node::Other;
        case Node::SystemDateAndTime:
            return schema && local == "UTCDateTime" ? Node::UtcDateTime : Node::Other;
        case Node::UtcDateTime:
            if (schema && local == "Date") {
                return Node::Date;
            }
            return schema && local == "Time" ? Node::Time : Node::Other;
        case Node::Date:
            return !schema            ? Node::Other
                   : local == "Year"  ? Node::Year
                   : local == "Month" ? Node::Month
                   : local == "Day"   ? Node::Day
                                      : Node::Other;
        case Node::Time:
            return !schema             ? Node::Other
                   : local == "Hour"   ? Node::Hour
                   : local == "Minute" ? Node::Minute
                   : local == "Second" ? Node::Second
                                       : Node::Other;
        default:
            return Node::Other;
        }
    }

    std::vector<Node> m_path;
    std::string m_text;
    std::array<std::optional<int>, FieldCount> m_values;
};

} // namespace

std::optional<std::chrono::sys_seconds>
ReadCameraUtc(std::string_view envelope, const wsd::XmlReader& reader, std::size_t maxBytes) {
    UtcHandler handler;
    if (reader.Read(envelope, maxBytes, kMaxDepth, handler) != wsd::ReadError::None) {
        return std::nullopt;
    }
    return handler.Time();
}

std::chrono::milliseconds ClockOffset(std::chrono::sys_seconds cameraUtc,
                                      std::chrono::system_clock::time_point sent,
                                      std::chrono::steady_clock::duration elapsed) {
    using namespace std::chrono;
    const auto middle = sent + duration_cast<system_clock::duration>(elapsed / 2);
    const auto camera = cameraUtc + milliseconds(500);
    return duration_cast<milliseconds>(camera - middle);
}

} // namespace vanmoor::onvif
