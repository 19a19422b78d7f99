#include "SystemDateAndTime.h"

#include "AnswerReader.h"

#include <algorithm>
#include <array>

namespace vanmoor::onvif {

namespace {

// The six numbers below UTCDateTime, each an element of Date or of Time.
enum Field { Year, Month, Day, Hour, Minute, Second, FieldCount };
constexpr std::string_view kFieldPaths[FieldCount][2] = {
    {"tt:Date", "tt:Year"}, {"tt:Date", "tt:Month"},  {"tt:Date", "tt:Day"},
    {"tt:Time", "tt:Hour"}, {"tt:Time", "tt:Minute"}, {"tt:Time", "tt:Second"}};

class UtcReader final : public AnswerReader {
public:
    UtcReader() : AnswerReader("GetSystemDateAndTimeResponse") {}

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
    void Close(const Path& path, std::string_view text) override {
        for (int field = 0; field < FieldCount; ++field) {
            if (At(path, {"tds:SystemDateAndTime", "tt:UTCDateTime", kFieldPaths[field][0],
                          kFieldPaths[field][1]})) {
                if (const auto value = IntegerText(text, -99999, 99999)) {
                    m_values[field] = static_cast<int>(*value);
                }
            }
        }
    }

    std::array<std::optional<int>, FieldCount> m_values;
};

} // namespace

std::optional<std::chrono::sys_seconds> ReadCameraUtc(std::string_view envelope) {
    UtcReader reader;
    if (!reader.Read(envelope).empty()) {
        return std::nullopt;
    }
    return reader.Time();
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
