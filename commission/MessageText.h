#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::commission {

// Every sentence and phrase that the checks and the planner say. The English pattern is what the
// command line prints once filled; a front end with a language file looks the pattern up there
// (it is the key) and fills the translation with the same values.
enum class MessagePattern : std::size_t {
    DevicesAnswerWith,
    HostsOwnAddress,
    OutsideEveryHostSubnet,
    OutsideEveryHostSubnetFix,
    OutsideFoundSubnet,
    OutsideFoundSubnetFix,
    UnusableAddress,
    NetmaskNotContiguous,
    NetmaskZero,
    NetworkOrBroadcast,
    GatewayOutside,
    DevicesNamed,
    PhraseThisNetwork,
    PhraseLoopback,
    PhraseMulticast,
    PhraseReserved,
    PlanUnusableAddress,
    PlanUnusableGateway,
    PlanNetmaskNoHosts,
    PlanDeviceGatewayOutside,
    PlanMoveOutOfReach,
    PlanPatternNameTooLong,
    PlanKeptNameIncomplete,
    PlanKeptNameTooLong,
    PlanDoesNotFit,
    NamePatternNeedsNumber,
    NamePatternBadField,
    NamePatternNumbersTwice,
    GatewayNetworkOrBroadcast,
    AddressLastNumber,
    Count, // not a pattern
};

inline constexpr std::size_t kMessagePatternCount = static_cast<std::size_t>(MessagePattern::Count);

// The English text, with %1, %2, ... where the values go.
std::string_view PatternText(MessagePattern pattern);

// A message: a pattern and the values of its %1, %2, ... A value is plain text (an address, a
// name: never translated) or a phrase of its own ("a loopback address").
struct MessageText {
    bool isValue = false;
    MessagePattern pattern = MessagePattern::Count;
    std::string value;
    std::vector<MessageText> values;
};

MessageText Message(MessagePattern pattern, std::vector<MessageText> values = {});
MessageText Value(std::string text);

// The message with each pattern taken from `patternText` (a translation, or PatternText).
// %1 to %9 take the values; a "%" not followed by a value's number stays as it is.
template <typename PatternLookup>
std::string FillMessage(const MessageText& message, const PatternLookup& patternText);
std::string EnglishText(const MessageText& message);

// An error whose message a front end can show in its own language; what() is the English.
class MessageError : public std::runtime_error {
public:
    explicit MessageError(MessageText message);
    const MessageText& Message() const { return m_Message; }

private:
    MessageText m_Message;
};

template <typename PatternLookup>
std::string FillMessage(const MessageText& message, const PatternLookup& patternText) {
    if (message.isValue) {
        return message.value;
    }
    const std::string_view pattern = patternText(message.pattern);
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto number = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && number < message.values.size()) {
            text += FillMessage(message.values[number], patternText);
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace vanmoor::commission
