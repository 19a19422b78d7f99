#pragma once

#include <optional>
#include <string>

namespace vanmoor::commission {

// A device name with a running number: "Cam-{n}" or "Cam-{n:02}" (zero-padded to two
// digits). Throws MessageError when the pattern has no "{n}" or "{n:0W}" with W from
// 1 to 9, or more than one of them.
class NamePattern {
public:
    explicit NamePattern(const std::string& pattern);

    std::string Name(int number) const;

private:
    std::string m_Before;
    std::string m_After;
    int m_Width = 0; // digits, zero-padded; 0: as many as the number has
};

} // namespace vanmoor::commission
