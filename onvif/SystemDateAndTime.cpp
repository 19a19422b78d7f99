#include "SystemDateAndTime.h"

#include "DeviceNamespaces.h"
#include "ElementPath.h"
#include "SoapEnvelope.h"
#include "TextItems.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace vanmoor::onvif {

namespace {

constexpr int kMaxDepth = 32;

constexpr PathStep kUtcPath[] = {{kSoap12Namespace, "Envelope"},
                                 {kSoap12Namespace, "Body"},
                                 {kDeviceNamespace, "GetSystemDateAndTimeResponse"},
                                 {kDeviceNamespace, "SystemDateAndTime"},
                                 {kSchemaNamespace, "UTCDateTime"}};

// The six numbers below UTCDateTime, each an element of Date or of Time.
enum Field { Year, Month, Day, Hour, Minute, Second, FieldCount };
struct FieldName {
    std::string_view group;
    std::string_view leaf;
};
constexpr FieldName kFields[FieldCount] = {{"Date", "Year"},   {"Date", "Month"},
                                           {"Date", "Day"},    {"Time", "Hour"},
                                           {"Time", "Minute"}, {"Time", "Second"}};

class UtcHandler final : public wsd::XmlHandler {
public:
    void StartElement(wsd::XmlName name, const wsd::NamespaceStack&) override {
        m_path.Enter(name);
        m_text.clear();
    }

    void Text(std::string_view text) override {
        if (m_path.Depth() == kLeafDepth && m_text.size() < 64) {
            m_text += text;
        }
    }

    void EndElement(const wsd::NamespaceStack&) override {
        if (m_path.Depth() == kLeafDepth && m_path.StartsWith(kUtcPath)) {
            Take(m_path.At(kLeafDepth - 2), m_path.At(kLeafDepth - 1));
        }
        m_path.Leave();
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
    static constexpr std::size_t kLeafDepth = std::size(kUtcPath) + 2;

    void Take(const wsd::QualifiedName& group, const wsd::QualifiedName& leaf) {
        if (group.namespaceUri != kSchemaNamespace || leaf.namespaceUri != kSchemaNamespace) {
            return;
        }
        for (int field = 0; field < FieldCount; ++field) {
            if (group.localName == kFields[field].group && leaf.localName == kFields[field].leaf) {
                const std::string_view text = wsd::TrimmedText(m_text);
                int value = 0;
                const auto [end, error] =
                    std::from_chars(text.data(), text.data() + text.size(), value);
                if (error == std::errc{} && end == text.data() + text.size() && !text.empty()) {
                    m_values[field] = value;
                }
            }
        }
    }

    ElementPath m_path;
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
