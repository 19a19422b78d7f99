#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vanmoor::devsim {

// The WS-Security UsernameToken of a request's header, as sent.
struct UsernameToken {
    std::string username;
    std::string passwordType; // the Type attribute of Password
    std::string password;
    std::string nonce; // Base64 text
    std::string created;
};

// A SOAP 1.2 request to a device's web service, read with the simulator's own reading: the one
// element of the Body names the operation; its content is found by local names.
class SoapRequest {
public:
    // No value for text that is no SOAP 1.2 envelope with one element in its Body.
    static std::optional<SoapRequest> Read(std::string_view text);

    const std::string& Operation() const { return m_Operation; }
    const std::optional<UsernameToken>& Token() const { return m_Token; }
    // The text of the first element reached by the path of local names below the operation's
    // element ("NetworkInterface/IPv4/Manual/Address"), none when there is no such element.
    std::optional<std::string> Text(std::string_view path) const;
    // The texts of every element reached by the path.
    std::vector<std::string> Texts(std::string_view path) const;

    struct Element {
        std::string path; // local names from the operation's element down, parted by '/'
        std::string text;
    };
    // Every element below the operation's, in document order.
    const std::vector<Element>& Elements() const { return m_Elements; }

private:
    std::string m_Operation;
    std::optional<UsernameToken> m_Token;
    std::vector<Element> m_Elements;
};

} // namespace vanmoor::devsim
