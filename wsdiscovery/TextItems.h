#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::wsd {

// `text` without the XML white space (space, tab, CR, LF) around it.
std::string_view TrimmedText(std::string_view text);

// At most `maxBytes` of `text`, cut before a UTF-8 character that would not fit whole.
std::string CutText(std::string_view text, std::size_t maxBytes);

// The items of an XML list (white-space separated), at most `maxItems`, each cut to
// `maxBytes`.
std::vector<std::string> ListItems(std::string_view text, std::size_t maxItems,
                                   std::size_t maxBytes);

} // namespace vanmoor::wsd
