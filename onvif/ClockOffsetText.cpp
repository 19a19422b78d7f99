#include "ClockOffsetText.h"

namespace vanmoor::onvif {

std::string ClockOffsetText(std::chrono::milliseconds offset) {
    using namespace std::chrono;
    const auto apart = round<seconds>(offset < 0ms ? -offset : offset);
    if (apart < 1s) {
        return "the same as this computer's";
    }
    const auto part = [](auto amount, const char* unit) {
        return std::to_string(amount.count()) + unit;
    };
    std::string text;
    if (apart >= days(2)) {
        text = part(duration_cast<days>(apart), " days ") +
               part(duration_cast<hours>(apart % days(1)), " h");
    } else if (apart >= 1h) {
        text = part(duration_cast<hours>(apart), " h ") +
               part(duration_cast<minutes>(apart % 1h), " min");
    } else if (apart >= 1min) {
        text = part(duration_cast<minutes>(apart), " min ") + part(apart % 1min, " s");
    } else {
        text = part(apart, " s");
    }
    return text + (offset > 0ms ? " ahead of" : " behind") + " this computer's";
}

} // namespace vanmoor::onvif
