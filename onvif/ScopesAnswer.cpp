#include "ScopesAnswer.h"

#include "AnswerReader.h"
#include "ScopeFields.h"

namespace vanmoor::onvif {

namespace {

class ScopesReader final : public AnswerReader {
public:
    ScopesReader() : AnswerReader("GetScopesResponse") {}
    std::vector<std::string> all;
    std::vector<std::string> configurable;

private:
    void Open(const Path& path) override {
        if (At(path, {"tds:Scopes"})) {
            m_definition.clear();
            m_item.reset();
        }
    }

    void Close(const Path& path, std::string_view text) override {
        if (At(path, {"tds:Scopes", "tt:ScopeDef"})) {
            m_definition = text;
        } else if (At(path, {"tds:Scopes", "tt:ScopeItem"})) {
            m_item = WordText(text);
            if (!m_item) {
                Refuse("a scope with white space or control characters");
            }
        } else if (At(path, {"tds:Scopes"}) && m_item) {
            if (all.size() == kMaxScopes) {
                Refuse("too many scopes");
                return;
            }
            all.push_back(*m_item);
            if (m_definition == "Configurable") {
                configurable.push_back(*m_item);
            }
        }
    }

    std::string m_definition;
    std::optional<std::string> m_item;
};

} // namespace

std::string ReadScopes(std::string_view envelope, CameraSettings& into) {
    ScopesReader reader;
    std::string problem = reader.Read(envelope);
    if (problem.empty()) {
        std::string name = wsd::ReadScopeFields(reader.all).name;
        into.name = name.empty() ? std::nullopt : std::optional(ShownText(name));
        into.configurableScopes = std::move(reader.configurable);
    }
    return problem;
}

} // namespace vanmoor::onvif
