// The platform's XML reader on its own: every platform hands the handler the same elements
// and texts, and refuses the same documents, whatever its parser.
#include "../support/UnderWine.h"
#include "PlatformXmlReader.h"

#include <gtest/gtest.h>

#include <string>

namespace vanmoor::wsd::test {
namespace {

// Writes down what the reader hands over: {uri}name for a start, @{uri}name=value for an
// attribute, [text], / for an end, and the URI of the prefix "p" at each start, where it is
// declared.
class RecordingHandler final : public XmlHandler {
public:
    void StartElement(XmlName name, const NamespaceStack& scope) override {
        m_events += "{" + std::string(name.namespaceUri) + "}" + std::string(name.localName);
        if (const auto p = scope.Resolve("p")) {
            m_events += "(p=" + std::string(*p) + ")";
        }
        m_events += " ";
    }
    void Attribute(XmlName name, std::string_view value) override {
        m_events += "@{" + std::string(name.namespaceUri) + "}" + std::string(name.localName) +
                    "=" + std::string(value) + " ";
    }
    void Text(std::string_view text) override { m_events += "[" + std::string(text) + "] "; }
    void EndElement(const NamespaceStack&) override { m_events += "/ "; }

    const std::string& Events() const { return m_events; }

private:
    std::string m_events;
};

struct Reading {
    ReadError error;
    std::string events;
};

Reading Read(std::string_view document, std::size_t maxBytes = 32767, int maxDepth = 24) {
    static const auto reader = MakeXmlReader();
    RecordingHandler handler;
    const ReadError error = reader->Read(document, maxBytes, maxDepth, handler);
    return {error, handler.Events()};
}

// UTF-16 of an ASCII document, in either byte order, with its byte order mark.
std::string Utf16(std::string_view ascii, bool bigEndian) {
    std::string wide = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : ascii) {
        wide += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return wide;
}

TEST(WsdXmlReaderTest, TextsAreHandedOverAsWrittenWithoutCommentsOrWhiteSpaceOnlyRuns) {
    const Reading reading = Read("<?xml version=\"1.0\"?>\r\n<!-- before --><r>\r\n"
                                 "  <a>one<!-- c -->two</a>\n <b/><?pi data?>"
                                 "<c>x&amp;&lt;&#x41;&#66;\r\ny</c><d><![CDATA[<raw> ]]></d>"
                                 "<e> <![CDATA[ ]]> </e></r>\n");
    EXPECT_EQ(reading.error, ReadError::None);
    EXPECT_EQ(reading.events, "{}r {}a [one] [two] / {}b / {}c [x&<AB\ny] / {}d [<raw> ] / "
                              "{}e [ ] / / ");
}

TEST(WsdXmlReaderTest, NamesResolveThroughTheDeclarationsInScope) {
    const Reading reading = Read("<p:r xmlns:p=\"urn:one\" xmlns=\"urn:default\"><a/>"
                                 "<b><c xmlns=\"\"/></b><p:d/><xml:e/></p:r>");
    EXPECT_EQ(reading.error, ReadError::None);
    EXPECT_EQ(reading.events,
              "{urn:one}r(p=urn:one) {urn:default}a(p=urn:one) / {urn:default}b(p=urn:one) "
              "{}c(p=urn:one) / / {urn:one}d(p=urn:one) / "
              "{http://www.w3.org/XML/1998/namespace}e(p=urn:one) / / ");
}

// Attributes come after their element's start, with their prefixes resolved; an attribute
// without a prefix has no namespace, even under a default one; declarations are not among them.
TEST(WsdXmlReaderTest, AttributesFollowTheirElementWithTheirOwnNamespaces) {
    const Reading reading =
        Read("<r xmlns=\"urn:default\" a=\"1 &amp; 2\"><p:s xmlns:p=\"urn:one\" p:b=\"x\" "
             "xml:lang=\"en\"><t c=\"\"/></p:s></r>");
    EXPECT_EQ(reading.error, ReadError::None);
    EXPECT_EQ(reading.events, "{urn:default}r @{}a=1 & 2 {urn:one}s(p=urn:one) @{urn:one}b=x "
                              "@{http://www.w3.org/XML/1998/namespace}lang=en "
                              "{urn:default}t(p=urn:one) @{}c= / / / ");
    EXPECT_EQ(Read("<r q:a=\"1\"/>").error, ReadError::UnboundPrefix);
}

const std::string kUnicodeDocument = "<p:r xmlns:p=\"urn:one\"><a>text &#xE9;</a></p:r>";
const std::string kUnicodeEvents = "{urn:one}r(p=urn:one) {}a(p=urn:one) [text \xC3\xA9] / / ";

TEST(WsdXmlReaderTest, UnicodeDocumentsReadAsTheirUtf8) {
    EXPECT_EQ(Read(kUnicodeDocument).events, kUnicodeEvents);
    EXPECT_EQ(Read("\xEF\xBB\xBF" + kUnicodeDocument).events, kUnicodeEvents);
    EXPECT_EQ(Read(Utf16(kUnicodeDocument, false)).events, kUnicodeEvents);
}

TEST(WsdXmlReaderTest, APrefixDeclaredAgainAndBigEndianUtf16ReadAsEverywhere) {
    if (vanmoor::test::UnderWine()) {
        GTEST_SKIP() << "not in Wine's XmlLite";
    }
    EXPECT_EQ(
        Read("<p:r xmlns:p=\"urn:one\"><p:b xmlns:p=\"urn:two\"><c/></p:b><p:d/></p:r>").events,
        "{urn:one}r(p=urn:one) {urn:two}b(p=urn:two) {}c(p=urn:two) / / "
        "{urn:one}d(p=urn:one) / / ");
    EXPECT_EQ(Read(Utf16(kUnicodeDocument, true)).events, kUnicodeEvents);
}

TEST(WsdXmlReaderTest, TheGivenBoundsHold) {
    EXPECT_EQ(Read("<a><b/></a>", 11, 2).error, ReadError::None);
    EXPECT_EQ(Read("<a><b/></a>", 10, 2).error, ReadError::TooLarge);
    EXPECT_EQ(Read("<a><b/></a>", 11, 1).error, ReadError::TooDeep);
}

TEST(WsdXmlReaderTest, AZeroByteEndsADocumentOfSingleBytes) {
    using namespace std::string_view_literals;
    EXPECT_EQ(Read("<r/>\0\0\0"sv).events, "{}r / ");
    EXPECT_EQ(Read("<r>a\0b</r>"sv).error, ReadError::Malformed);
    EXPECT_EQ(Read("<?xml version=\"1.0\"?>\0<r/>"sv).error, ReadError::Malformed);
}

// A structural fault counts only in a well-formed document; anything else is malformed.
TEST(WsdXmlReaderTest, ADocumentMustBeWellFormedBeforeItsStructureIsJudged) {
    const std::string deep = "<a><a><a></a></a></a>";
    EXPECT_EQ(Read(deep, 100, 2).error, ReadError::TooDeep);
    EXPECT_EQ(Read(deep.substr(0, deep.size() - 1), 100, 2).error, ReadError::Malformed);
    EXPECT_EQ(Read(deep + "<a/>", 100, 2).error, ReadError::Malformed);
    EXPECT_EQ(Read("<r><q:a/></r>").error, ReadError::UnboundPrefix);
    EXPECT_EQ(Read("<r><q:a/></r").error, ReadError::Malformed);
    // Cut off right after a tag or a declaration, or made of markup without an element.
    for (const char* cut : {"<r><a/>", "<r><a></a>", "<r><a>", "<?xml version=\"1.0\"?>", "<?xml",
                            "<!-- c -->", "</r>", ""}) {
        EXPECT_EQ(Read(cut).error, ReadError::Malformed) << cut;
    }
}

} // namespace
} // namespace vanmoor::wsd::test
