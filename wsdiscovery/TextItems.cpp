#include "TextItems.h"

namespace vanmoor::wsd {

namespace {

constexpr std::string_view kXmlSpace = " \t\r\n";

} // namespace

std::string_view TrimmedText(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kXmlSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kXmlSpace) - first + 1);
}

std::string CutText(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return std::string(text);
    }
    std::size_t end = maxBytes;
    // Back over continuation bytes to the start of the character that does not fit.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return std::string(text.substr(0, end));
}

std::vector<std::string> ListItems(std::string_view text, std::size_t maxItems,
                                   std::size_t maxBytes) {
    std::vector<std::string> items;
    std::size_t start = text.find_first_not_of(kXmlSpace);
    while (start != std::string_view::npos && items.size() < maxItems) {
        const std::size_t end = text.find_first_of(kXmlSpace, start);
        items.push_back(CutText(text.substr(start, end - start), maxBytes));
        start = text.find_first_not_of(kXmlSpace, end);
    }
    return items;
}

} // namespace vanmoor::wsd
