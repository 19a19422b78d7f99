#include "SoapByHand.h"

#include <cstdio>
#include <ctime>
#include <openssl/evp.h>
#include <openssl/rand.h>

namespace vanmoor::devsim::test {

namespace {

std::string Hex(const unsigned char* bytes, unsigned length) {
    std::string text;
    char two[3];
    for (unsigned i = 0; i < length; ++i) {
        std::snprintf(two, sizeof two, "%02x", bytes[i]);
        text += two;
    }
    return text;
}

std::string Hash(const EVP_MD* method, const std::string& data, bool hex = true) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    EVP_Digest(data.data(), data.size(), digest, &length, method, nullptr);
    return hex ? Hex(digest, length) : std::string(reinterpret_cast<char*>(digest), length);
}

std::string Base64(const std::string& bytes) {
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                                       reinterpret_cast<const unsigned char*>(bytes.data()),
                                       static_cast<int>(bytes.size()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string Quoted(const std::string& challenge, const std::string& key) {
    const std::size_t start = challenge.find(key + "=\"") + key.size() + 2;
    return challenge.substr(start, challenge.find('"', start) - start);
}

} // namespace

std::string Created(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

std::string TokenHeader(const std::string& password, std::chrono::system_clock::time_point created,
                        std::string nonce, bool digest) {
    if (nonce.empty()) {
        nonce.resize(16);
        RAND_bytes(reinterpret_cast<unsigned char*>(nonce.data()), 16);
    }
    const std::string createdText = Created(created);
    const std::string profile =
        "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-username-token-profile-1.0";
    const std::string secret =
        digest ? Base64(Hash(EVP_sha1(), nonce + createdText + password, false)) : password;
    return "<wsse:Security xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/"
           "oasis-200401-wss-wssecurity-secext-1.0.xsd\" xmlns:wsu=\"http://docs.oasis-open.org/"
           "wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd\"><wsse:UsernameToken>"
           "<wsse:Username>admin</wsse:Username><wsse:Password Type=\"" +
           profile + (digest ? "#PasswordDigest" : "#PasswordText") + "\">" + secret +
           "</wsse:Password><wsse:Nonce EncodingType=\"" + profile.substr(0, 55) +
           "oasis-200401-wss-soap-message-security-1.0#Base64Binary\">" + Base64(nonce) +
           "</wsse:Nonce><wsu:Created>" + createdText +
           "</wsu:Created></wsse:UsernameToken></wsse:Security>";
}

std::string Envelope(const std::string& body, const std::string& header) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><s:Envelope "
           "xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\" "
           "xmlns:tds=\"http://www.onvif.org/ver10/device/wsdl\" "
           "xmlns:tt=\"http://www.onvif.org/ver10/schema\"><s:Header>" +
           header + "</s:Header><s:Body>" + body + "</s:Body></s:Envelope>";
}

Answer Post(const std::string& host, const std::string& envelope, const httplib::Headers& headers,
            int port) {
    httplib::Client client(host, port);
    client.set_connection_timeout(2);
    client.set_read_timeout(5);
    const auto result =
        client.Post(kServicePath, headers, envelope, "application/soap+xml; charset=utf-8");
    Answer answer;
    if (result) {
        answer.status = result->status;
        answer.body = result->body;
        for (std::size_t i = 0; i < result->get_header_value_count("WWW-Authenticate"); ++i) {
            answer.challenges.push_back(result->get_header_value("WWW-Authenticate", i));
        }
    }
    return answer;
}

std::string DigestAuthorization(const std::string& challenge, const std::string& password,
                                const std::string& nc) {
    const bool sha256 = challenge.find("algorithm=SHA-256") != std::string::npos;
    const EVP_MD* method = sha256 ? EVP_sha256() : EVP_md5();
    const std::string realm = Quoted(challenge, "realm");
    const std::string nonce = Quoted(challenge, "nonce");
    const std::string cnonce = "0a4f113b";
    const std::string ha1 = Hash(method, "admin:" + realm + ":" + password);
    const std::string ha2 = Hash(method, std::string("POST:") + kServicePath);
    const std::string response =
        Hash(method, ha1 + ":" + nonce + ":" + nc + ":" + cnonce + ":auth:" + ha2);
    return "Digest username=\"admin\", realm=\"" + realm + "\", nonce=\"" + nonce + "\", uri=\"" +
           kServicePath + "\", algorithm=" + (sha256 ? "SHA-256" : "MD5") + ", qop=auth, nc=" + nc +
           ", cnonce=\"" + cnonce + "\", response=\"" + response + "\"";
}

} // namespace vanmoor::devsim::test
