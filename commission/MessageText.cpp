#include "MessageText.h"

#include <array>

namespace vanmoor::commission {

namespace {

constexpr std::array<std::string_view, kMessagePatternCount> kPatterns = {
    "%1 devices answer with %2",
    "%1 is one of this host's own addresses",
    "%1 is outside every subnet of this host",
    "%1 is outside every subnet of this host; a host address in %2 would reach it",
    "%1 is outside %2 of %3, through which it was found",
    "%1 is outside %2 of %3, through which it was found; a host address in %4 would reach it",
    "%1 is %2, which no device can use",
    "netmask %1 is not contiguous",
    "netmask 0.0.0.0 leaves the device no subnet",
    "%1 is the network or broadcast address of %2",
    "gateway %1 is outside %2",
    "%1 devices are named \"%2\"",
    "in 0.0.0.0/8, which means \"this network\"",
    "a loopback address",
    "a multicast address",
    "a reserved or broadcast address",
    "address %1 is %2, which no device can use",
    "gateway %1 is %2, which no device can use",
    "netmask %1 is not a contiguous mask with room for hosts",
    "device %1 has gateway %2, which is outside %3: give a gateway in the new subnet, or "
    "0.0.0.0 for none",
    "device %1 would move to %2, outside %3 through which this host reaches it; allow other "
    "subnets to move it all the same",
    "name \"%1\" is longer than the %2 bytes that the settings command of device %3 carries",
    "device %1's name fills all that its answer shows and may go on beyond: keeping it could "
    "cut it, so give the devices new names",
    "device %1 is named with %2 bytes, more than the %3 its settings command carries: give the "
    "devices new names",
    "%1 devices do not fit in %2 from %3: only %4 free addresses",
    "name pattern needs {n} or {n:02}",
    "name pattern field %1 is not {n} or {n:0W}",
    "name pattern may number only once",
    "gateway %1 is the network or broadcast address of %2",
    "the last number of address %1 must lie between 1 and 254",
};

} // namespace

std::string_view PatternText(MessagePattern pattern) {
    return kPatterns.at(static_cast<std::size_t>(pattern));
}

MessageText Message(MessagePattern pattern, std::vector<MessageText> values) {
    MessageText message;
    message.pattern = pattern;
    message.values = std::move(values);
    return message;
}

MessageText Value(std::string text) {
    MessageText message;
    message.isValue = true;
    message.value = std::move(text);
    return message;
}

std::string EnglishText(const MessageText& message) {
    return FillMessage(message, PatternText);
}

MessageError::MessageError(MessageText message)
    : std::runtime_error(EnglishText(message)), m_Message(std::move(message)) {}

} // namespace vanmoor::commission
