#include "AnswerReader.h"

#include "DeviceRequests.h"
#include "PlatformXmlReader.h"
#include "Protocol.h"
#include "TextItems.h"

#include <charconv>

namespace vanmoor::onvif {

namespace {

bool IsSoap(wsd::XmlName name, std::string_view local) {
    return name.localName == local && (name.namespaceUri == wsd::kSoapEnvelopeNamespace ||
                                       name.namespaceUri == wsd::kSoap11EnvelopeNamespace);
}

// Room for white space around a text of kMaxTextBytes, and one byte more, so that a text that
// is too long still shows as too long after trimming.
constexpr std::size_t kCollectedBytes = 2 * kMaxTextBytes + 1;

} // namespace

AnswerReader::AnswerReader(std::string_view responseName) : m_responseName(responseName) {}

std::string AnswerReader::Read(std::string_view envelope) {
    static const std::unique_ptr<wsd::XmlReader> reader = wsd::MakeXmlReader();
    const wsd::ReadError error = reader->Read(envelope, kMaxAnswerBytes, kMaxAnswerDepth, *this);
    if (error != wsd::ReadError::None) {
        return std::string("the answer is not readable XML: ") + wsd::ReadErrorText(error);
    }
    if (!m_sawResponse) {
        return "the answer holds no " + m_responseName;
    }
    return m_refused;
}

void AnswerReader::StartElement(wsd::XmlName name, const wsd::NamespaceStack&) {
    const Place parent = m_places.empty() ? Place::Outside : m_places.back();
    Place place = Place::Skipped;
    switch (parent) {
    case Place::Outside:
        place = IsSoap(name, "Envelope") ? Place::Envelope : Place::Skipped;
        break;
    case Place::Envelope:
        place = IsSoap(name, "Body") ? Place::Body : Place::Skipped;
        break;
    case Place::Body:
        // Only the Body's first element is the answer.
        if (!m_sawBodyChild && name.namespaceUri == kDeviceNamespace &&
            name.localName == m_responseName) {
            place = Place::Response;
            m_sawResponse = true;
        }
        m_sawBodyChild = true;
        break;
    case Place::Response:
        place = Place::Response;
        m_path.push_back({name.namespaceUri == kDeviceNamespace   ? Step::Space::Device
                          : name.namespaceUri == kSchemaNamespace ? Step::Space::Schema
                                                                  : Step::Space::Other,
                          std::string(name.localName)});
        break;
    default:
        break;
    }
    m_places.push_back(place);
    m_text.clear();
    if (place == Place::Response && !m_path.empty()) {
        Open(m_path);
    }
}

void AnswerReader::Attribute(wsd::XmlName name, std::string_view value) {
    if (!m_places.empty() && m_places.back() == Place::Response && !m_path.empty()) {
        AttributeOf(m_path, name, value);
    }
}

void AnswerReader::Text(std::string_view text) {
    if (m_path.empty() || m_text.size() >= kCollectedBytes) {
        return;
    }
    m_text.append(text.substr(0, kCollectedBytes - m_text.size()));
}

void AnswerReader::EndElement(const wsd::NamespaceStack&) {
    const Place place = m_places.back();
    m_places.pop_back();
    if (place == Place::Response && !m_path.empty() && m_places.back() == Place::Response) {
        Close(m_path, wsd::TrimmedText(m_text));
        m_path.pop_back();
    }
    m_text.clear();
}

bool AnswerReader::At(const Path& path, std::initializer_list<std::string_view> steps) {
    if (path.size() != steps.size()) {
        return false;
    }
    auto step = path.begin();
    for (const std::string_view written : steps) {
        const bool device = written.starts_with("tds:");
        const Step::Space space = device ? Step::Space::Device : Step::Space::Schema;
        const std::string_view local = written.substr(device ? 4 : 3);
        if (step->space != space || step->localName != local) {
            return false;
        }
        ++step;
    }
    return true;
}

void AnswerReader::Refuse(std::string_view why) {
    if (m_refused.empty()) {
        m_refused = "the answer is refused: " + std::string(why);
    }
}

std::optional<bool> BooleanText(std::string_view text) {
    if (text == "true" || text == "1") {
        return true;
    }
    if (text == "false" || text == "0") {
        return false;
    }
    return std::nullopt;
}

std::optional<long long> IntegerText(std::string_view text, long long min, long long max) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < min ||
        value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> WordText(std::string_view text) {
    if (text.empty() || text.size() > kMaxTextBytes) {
        return std::nullopt;
    }
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7f) {
            return std::nullopt;
        }
    }
    return std::string(text);
}

std::string ShownText(std::string_view text) {
    return wsd::CutText(text, kMaxTextBytes);
}

} // namespace vanmoor::onvif
