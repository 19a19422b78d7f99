#pragma once

#include "XmlReader.h"

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::onvif {

// Bounds on what one answer of a camera may cost. Whoever answers at the camera's address
// writes it.
inline constexpr std::size_t kMaxAnswerBytes = 1024 * 1024;
inline constexpr int kMaxAnswerDepth = 32; // real answers nest about ten elements deep
inline constexpr std::size_t kMaxTextBytes = 1024;

// An answer read into `value`, or why it was refused (`value` then empty).
template <typename T> struct AnswerRead {
    std::optional<T> value;
    std::string problem;
};

// Walks one SOAP envelope: the Body's first element must be the expected response in the
// device namespace; what is inside it reaches the reader by its path below the response,
// matched by namespace URI and local name, never by prefix. An element's text reaches Close
// trimmed and bounded (a little over kMaxTextBytes, so that a longer one still shows as such).
class AnswerReader : public wsd::XmlHandler {
public:
    // One step of a path: a local name in the device (tds) or schema (tt) namespace.
    struct Step {
        enum class Space { Device, Schema, Other } space;
        std::string localName;
    };
    using Path = std::vector<Step>;

    explicit AnswerReader(std::string_view responseName);

    // Reads `envelope`; the problem in words when it is not the expected answer, or when the
    // reader refused a value (Refuse), else empty.
    std::string Read(std::string_view envelope);

    void StartElement(wsd::XmlName name, const wsd::NamespaceStack& scope) final;
    void Attribute(wsd::XmlName name, std::string_view value) final;
    void Text(std::string_view text) final;
    void EndElement(const wsd::NamespaceStack& scope) final;

protected:
    // Whether `path` is exactly these steps, each written "tds:Name" or "tt:Name".
    static bool At(const Path& path, std::initializer_list<std::string_view> steps);

    virtual void Open(const Path& /*path*/) {}
    virtual void AttributeOf(const Path& /*path*/, wsd::XmlName /*name*/,
                             std::string_view /*value*/) {}
    virtual void Close(const Path& path, std::string_view text) = 0;
    // Refuses the whole answer: a value out of range, too many items. The first reason counts.
    void Refuse(std::string_view why);

private:
    enum class Place { Outside, Envelope, Body, Response, Skipped };

    std::string m_responseName;
    std::vector<Place> m_places;
    Path m_path;
    std::string m_text;
    bool m_sawBodyChild = false;
    bool m_sawResponse = false;
    std::string m_refused;
};

// Texts of answers as values: each empty when the text is not one.
std::optional<bool> BooleanText(std::string_view text);
std::optional<long long> IntegerText(std::string_view text, long long min, long long max);
// A token, URI or domain that goes back to the camera as it came: no white space, no control
// character, at most kMaxTextBytes.
std::optional<std::string> WordText(std::string_view text);
// A text to show (a model, a host name): cut to kMaxTextBytes at a character boundary.
std::string ShownText(std::string_view text);

} // namespace vanmoor::onvif
