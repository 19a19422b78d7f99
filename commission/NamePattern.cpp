#include "NamePattern.h"

#include "MessageText.h"

namespace vanmoor::commission {

NamePattern::NamePattern(const std::string& pattern) {
    const std::size_t open = pattern.find("{n");
    const std::size_t close = open == std::string::npos ? open : pattern.find('}', open);
    if (close == std::string::npos) {
        throw MessageError(Message(MessagePattern::NamePatternNeedsNumber));
    }
    const std::string field = pattern.substr(open, close - open + 1);
    if (field == "{n}") {
        m_Width = 0;
    } else if (field.size() == 6 && field.compare(0, 4, "{n:0") == 0 && field[4] >= '1' &&
               field[4] <= '9') {
        m_Width = field[4] - '0';
    } else {
        throw MessageError(Message(MessagePattern::NamePatternBadField, {Value(field)}));
    }
    m_Before = pattern.substr(0, open);
    m_After = pattern.substr(close + 1);
    if (m_After.find("{n") != std::string::npos) {
        throw MessageError(Message(MessagePattern::NamePatternNumbersTwice));
    }
}

std::string NamePattern::Name(int number) const {
    std::string digits = std::to_string(number);
    if (digits.size() < static_cast<std::size_t>(m_Width)) {
        digits.insert(0, static_cast<std::size_t>(m_Width) - digits.size(), '0');
    }
    return m_Before + digits + m_After;
}

} // namespace vanmoor::commission
