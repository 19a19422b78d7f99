#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vanmoor::listing {

// Device texts are 8-bit bytes that anyone on the LAN can send. Every output format makes them
// safe in its own way; all first replace each byte that is not part of well-formed UTF-8 with
// U+FFFD.

// A JSON string literal, quotes included: '"', '\' and control characters escaped.
std::string JsonString(std::string_view bytes);

// Text for a terminal: control characters (C0, DEL, C1) shown as \xHH or \u00HH, so that no
// escape sequence reaches the terminal; format characters (bidirectional controls, zero-width
// characters and the rest of Unicode's category Cf) shown as \uHHHH or \UHHHHHHHH, so that
// none reorders or hides what follows. For tables and for messages alike.
std::string TerminalText(std::string_view bytes);

// Characters (not bytes) in UTF-8 text, for aligning columns.
std::size_t DisplayLength(std::string_view utf8);

// One CSV cell after RFC 4180: quoted when it holds a comma, a quote or a line break, quotes
// doubled. A text starting with = + - @ tab or carriage return gets a leading single quote, so
// that a spreadsheet takes it as text and not as a formula.
std::string CsvCell(std::string_view bytes);

} // namespace vanmoor::listing
