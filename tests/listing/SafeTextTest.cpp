#include "SafeText.h"

#include <gtest/gtest.h>

#include <string>

namespace vanmoor::listing {
namespace {

std::string Byte(int value) {
    return std::string(1, static_cast<char>(value));
}

TEST(SafeTextTest, EveryFormulaLikeFirstCharacterIsGuardedInCsv) {
    for (const char* first : {"=", "+", "-", "@", "\t", "\r"}) {
        const std::string cell = CsvCell(std::string(first) + "1+1");
        EXPECT_NE(cell.find("'" + std::string(first)), std::string::npos)
            << "first byte " << int(first[0]) << " gave " << cell;
    }
    EXPECT_EQ(CsvCell("Camera"), "Camera");
    EXPECT_EQ(CsvCell("a,b"), "\"a,b\"");
}

TEST(SafeTextTest, EveryControlByteIsEscapedInJson) {
    for (int byte = 0; byte < 0x20; ++byte) {
        const std::string literal = JsonString("a" + Byte(byte) + "b");
        EXPECT_EQ(literal.find(Byte(byte)), std::string::npos) << "byte " << byte;
        EXPECT_NE(literal.find("\\u00"), std::string::npos) << "byte " << byte;
    }
    EXPECT_EQ(JsonString("a\x7f"), "\"a\\u007f\"");
    EXPECT_EQ(JsonString("say \"\\\""), "\"say \\\"\\\\\\\"\"");
}

// Format characters are data in JSON and CSV, but on a terminal they would reorder or hide the
// text after them.
TEST(SafeTextTest, FormatCharactersAreShownEscapedOnTheTerminalOnly) {
    const struct {
        const char* utf8;
        const char* shown;
    } cases[] = {
        {"\u202e", "\\u202e"},         {"\u202a", "\\u202a"}, {"\u2066", "\\u2066"},
        {"\u2069", "\\u2069"},         {"\u200e", "\\u200e"}, {"\u200f", "\\u200f"},
        {"\u061c", "\\u061c"},         {"\u200b", "\\u200b"}, {"\u200d", "\\u200d"},
        {"\u2060", "\\u2060"},         {"\ufeff", "\\ufeff"}, {"\u00ad", "\\u00ad"},
        {"\U000e0001", "\\U000e0001"}, {"\u0085", "\\u0085"}, {"\x1b", "\\x1b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TerminalText(std::string("A") + c.utf8 + "B"), std::string("A") + c.shown + "B")
            << c.shown;
        EXPECT_EQ(JsonString(c.utf8).find(c.shown), std::string::npos) << c.shown;
    }
    EXPECT_EQ(JsonString("\u202e"), "\"\u202e\"");
    EXPECT_EQ(CsvCell("x\u202ey"), "x\u202ey");
    // Other characters outside ASCII stay as they are.
    EXPECT_EQ(TerminalText("Caf\u00e9 \u6771\u4eac \u2019"), "Caf\u00e9 \u6771\u4eac \u2019");
}

} // namespace
} // namespace vanmoor::listing
