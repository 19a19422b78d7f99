// The simulated cameras' device service, spoken to by hand: requests written out here, logins
// computed here with OpenSSL, so that nothing of the product's client takes part.
#include "SimulatorInLan.h"

#include "DeviceConfig.h"
#include "LibraryDatagrams.h"

#include <arpa/inet.h>
#include <chrono>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace vanmoor::devsim::test {
namespace {

using namespace std::chrono_literals;

constexpr char kPath[] = "/onvif/device_service";
constexpr char kPassword[] = "\xC3\x96"
                             "ffne-mich 1"; // "Öffne-mich 1" in UTF-8

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

std::string Created(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

// A UsernameToken header; a fresh nonce unless one is given.
std::string TokenHeader(const std::string& password, std::chrono::system_clock::time_point created,
                        std::string nonce = {}, bool digest = true) {
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

std::string Envelope(const std::string& body, const std::string& header = {}) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><s:Envelope "
           "xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\" "
           "xmlns:tds=\"http://www.onvif.org/ver10/device/wsdl\" "
           "xmlns:tt=\"http://www.onvif.org/ver10/schema\"><s:Header>" +
           header + "</s:Header><s:Body>" + body + "</s:Body></s:Envelope>";
}

struct Answer {
    int status = 0; // 0: no answer
    std::string body;
    std::vector<std::string> challenges;
};

Answer Post(const std::string& host, const std::string& envelope,
            const httplib::Headers& headers = {}, int port = 80) {
    httplib::Client client(host, port);
    client.set_connection_timeout(2);
    client.set_read_timeout(5);
    const auto result =
        client.Post(kPath, headers, envelope, "application/soap+xml; charset=utf-8");
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

// A request with a UsernameToken made on the host's clock.
Answer PostWithToken(const std::string& host, const std::string& body) {
    return Post(host, Envelope(body, TokenHeader(kPassword, std::chrono::system_clock::now())));
}

std::string Quoted(const std::string& challenge, const std::string& key) {
    const std::size_t start = challenge.find(key + "=\"") + key.size() + 2;
    return challenge.substr(start, challenge.find('"', start) - start);
}

// The Authorization header answering a challenge, computed as RFC 7616 says.
std::string DigestAuthorization(const std::string& challenge, const std::string& password,
                                const std::string& nc = "00000001") {
    const bool sha256 = challenge.find("algorithm=SHA-256") != std::string::npos;
    const EVP_MD* method = sha256 ? EVP_sha256() : EVP_md5();
    const std::string realm = Quoted(challenge, "realm");
    const std::string nonce = Quoted(challenge, "nonce");
    const std::string cnonce = "0a4f113b";
    const std::string ha1 = Hash(method, "admin:" + realm + ":" + password);
    const std::string ha2 = Hash(method, std::string("POST:") + kPath);
    const std::string response =
        Hash(method, ha1 + ":" + nonce + ":" + nc + ":" + cnonce + ":auth:" + ha2);
    return "Digest username=\"admin\", realm=\"" + realm + "\", nonce=\"" + nonce + "\", uri=\"" +
           kPath + "\", algorithm=" + (sha256 ? "SHA-256" : "MD5") + ", qop=auth, nc=" + nc +
           ", cnonce=\"" + cnonce + "\", response=\"" + response + "\"";
}

SimDevice Camera(const std::string& settings) {
    return ParseDevice("protocol=3702 mac=02:00:5e:00:07:01 ip=192.0.2.70 service=on "
                       "password=\"" +
                       std::string(kPassword) + "\" " + settings);
}

constexpr char kHostname[] = "<tds:GetHostname/>";
constexpr char kInterfaces[] = "<tds:GetNetworkInterfaces/>";

TEST(DevsimService, DigestLoginTakenWithEitherHashAndRefusedWithAWrongPassword) {
    auto simulator = StartInLan1({Camera("login=digest")});

    const Answer challenged = Post("192.0.2.70", Envelope(kHostname));
    ASSERT_EQ(challenged.status, 401);
    ASSERT_EQ(challenged.challenges.size(), 2u);
    EXPECT_NE(challenged.challenges[0].find("algorithm=SHA-256"), std::string::npos);
    EXPECT_NE(challenged.challenges[1].find("algorithm=MD5"), std::string::npos);
    EXPECT_NE(challenged.body.find("ter:NotAuthorized"), std::string::npos);

    // Both challenges carry one nonce: the second login counts on from the first.
    for (std::size_t i = 0; i < challenged.challenges.size(); ++i) {
        const std::string& challenge = challenged.challenges[i];
        const Answer taken =
            Post("192.0.2.70", Envelope(kHostname),
                 {{"Authorization",
                   DigestAuthorization(challenge, kPassword, "0000000" + std::to_string(i + 1))}});
        EXPECT_EQ(taken.status, 200) << challenge;
        EXPECT_NE(taken.body.find("<tt:Name>sim-000701</tt:Name>"), std::string::npos);
    }
    const std::string fresh = Post("192.0.2.70", Envelope(kHostname)).challenges.at(0);
    EXPECT_EQ(Post("192.0.2.70", Envelope(kHostname),
                   {{"Authorization", DigestAuthorization(fresh, "\xD6"
                                                                 "ffne-mich 1")}})
                  .status,
              401); // the password's Latin-1 bytes are another password
    // A UsernameToken is not taken by a camera of Digest alone.
    EXPECT_EQ(PostWithToken("192.0.2.70", kHostname).status, 401);

    const std::vector<ServiceRequest> seen = simulator->ServiceRequests();
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[1].operation, "GetHostname");
    EXPECT_EQ(seen[1].login, LoginSeen::Digest);
    EXPECT_TRUE(seen[1].accepted);
    EXPECT_FALSE(seen[4].accepted);
    EXPECT_EQ(seen[5].login, LoginSeen::UsernameToken);
    EXPECT_FALSE(seen[5].accepted);
}

TEST(DevsimService, UsernameTokenCheckedOnTheCamerasClockOnceWithItsDigest) {
    auto simulator = StartInLan1({Camera("login=wsse clock=3600")});
    const auto cameraNow = std::chrono::system_clock::now() + 1h;

    const Answer clock = Post("192.0.2.70", Envelope("<tds:GetSystemDateAndTime/>"));
    ASSERT_EQ(clock.status, 200);
    const std::string hour =
        "<tt:Hour>" + std::to_string(std::stoi(Created(cameraNow).substr(11, 2))) + "</tt:Hour>";
    EXPECT_NE(clock.body.find(hour), std::string::npos) << clock.body;
    EXPECT_NE(Post("192.0.2.70", Envelope("<tds:GetServiceCapabilities/>"))
                  .body.find("HttpDigest=\"false\" UsernameToken=\"true\""),
              std::string::npos);

    const std::string nonce = "sixteen byte nonce";
    const Answer onCameraClock =
        Post("192.0.2.70", Envelope(kHostname, TokenHeader(kPassword, cameraNow, nonce)));
    EXPECT_EQ(onCameraClock.status, 200);
    const Answer replayed =
        Post("192.0.2.70", Envelope(kHostname, TokenHeader(kPassword, cameraNow, nonce)));
    EXPECT_EQ(replayed.status, 400);
    EXPECT_TRUE(replayed.challenges.empty()); // no Digest offered
    EXPECT_NE(replayed.body.find("ter:NotAuthorized"), std::string::npos);
    EXPECT_EQ(PostWithToken("192.0.2.70", kHostname).status, 400); // an hour off
    EXPECT_EQ(Post("192.0.2.70", Envelope(kHostname, TokenHeader(kPassword, cameraNow, {}, false)))
                  .status,
              400); // PasswordText
    EXPECT_NE(Post("192.0.2.70", Envelope("<tds:GetUsers/>", TokenHeader(kPassword, cameraNow)))
                  .body.find("ter:ActionNotSupported"),
              std::string::npos);
}

TEST(DevsimService, BothLoginsInOneRequestAreRefusedAndRecorded) {
    auto simulator = StartInLan1({Camera("login=both")});
    const std::string challenge = Post("192.0.2.70", Envelope(kHostname)).challenges.at(0);

    const Answer both = Post(
        "192.0.2.70", Envelope(kHostname, TokenHeader(kPassword, std::chrono::system_clock::now())),
        {{"Authorization", DigestAuthorization(challenge, kPassword)}});

    EXPECT_EQ(both.status, 401);
    const std::vector<ServiceRequest> seen = simulator->ServiceRequests();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].login, LoginSeen::Both);
    EXPECT_FALSE(seen[1].accepted);
    EXPECT_EQ(PostWithToken("192.0.2.70", kHostname).status, 200);
}

// Hellos multicast into lan 1, heard on the pc side.
class HelloListener {
public:
    HelloListener() : m_Socket(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        const int on = 1;
        setsockopt(m_Socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(3702);
        bind(m_Socket, reinterpret_cast<sockaddr*>(&local), sizeof local);
        ip_mreq membership{};
        inet_pton(AF_INET, "239.255.255.250", &membership.imr_multiaddr);
        inet_pton(AF_INET, "192.0.2.1", &membership.imr_interface);
        setsockopt(m_Socket, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof membership);
        const timeval wait{1, 0};
        setsockopt(m_Socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    }
    ~HelloListener() { close(m_Socket); }

    // True once a Hello holding every one of `texts` arrived within the patience.
    bool HeardHello(const std::vector<std::string>& texts) {
        const auto end = std::chrono::steady_clock::now() + kPatience;
        char buffer[65536];
        while (std::chrono::steady_clock::now() < end) {
            const ssize_t size = recv(m_Socket, buffer, sizeof buffer, 0);
            const std::string text(buffer, size > 0 ? static_cast<std::size_t>(size) : 0);
            bool all = text.find(":Hello>") != std::string::npos;
            for (const std::string& wanted : texts) {
                all = all && text.find(wanted) != std::string::npos;
            }
            if (all) {
                return true;
            }
        }
        return false;
    }

private:
    int m_Socket;
};

std::string SetAddress(const std::string& address) {
    return "<tds:SetNetworkInterfaces><tds:InterfaceToken>eth0</tds:InterfaceToken>"
           "<tds:NetworkInterface><tt:Enabled>true</tt:Enabled><tt:IPv4><tt:Enabled>true"
           "</tt:Enabled><tt:Manual><tt:Address>" +
           address +
           "</tt:Address><tt:PrefixLength>24</tt:PrefixLength></tt:Manual><tt:DHCP>false"
           "</tt:DHCP></tt:IPv4></tds:NetworkInterface></tds:SetNetworkInterfaces>";
}

// True once the camera answers at `host` with the address in its interfaces.
bool AnswersAt(const std::string& host) {
    const auto end = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < end) {
        const Answer answer = PostWithToken(host, kInterfaces);
        if (answer.status == 200) {
            return answer.body.find("<tt:Address>" + host + "</tt:Address>") != std::string::npos;
        }
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

TEST(DevsimService, NewAddressIsTakenForRealAndAnnounced) {
    HelloListener hellos;
    auto simulator = StartInLan1({Camera("protocol=4022,3702")});
    const std::string endpoint = "urn:uuid:5ca1ab1e-0000-4000-8000-02005e000701";

    const Answer changed = PostWithToken("192.0.2.70", SetAddress("192.0.2.71"));

    ASSERT_EQ(changed.status, 200);
    EXPECT_NE(changed.body.find("<tds:RebootNeeded>false</tds:RebootNeeded>"), std::string::npos);
    EXPECT_TRUE(hellos.HeardHello({endpoint, "http://192.0.2.71/onvif/device_service"}));
    EXPECT_TRUE(AnswersAt("192.0.2.71"));
    EXPECT_EQ(PostWithToken("192.0.2.70", kInterfaces).status, 0); // the old address is gone
    // The same device's other protocol tells the new address too.
    auto probe = ProbeOnLan1(4022);
    const std::vector<Arrival> replies = Search(*probe, 4022, 1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(Field(replies[0].bytes, 10, 4), (Bytes{192, 0, 2, 71}));
}

TEST(DevsimService, AddressChangedByTheDeviceProtocolMovesTheService) {
    auto simulator = StartInLan1({Camera("protocol=4022,3702")});
    Command4022 command;
    command.mac = {0x02, 0x00, 0x5e, 0x00, 0x07, 0x01};
    command.ip = {192, 0, 2, 74};
    command.netmask = {255, 255, 255, 0};
    command.addressChanged = true;
    auto probe = ProbeOnLan1(4022);

    probe->Broadcast(SettingsCommand4022(command), 4022);

    EXPECT_TRUE(AnswersAt("192.0.2.74"));
}

TEST(DevsimService, RebootNeededKeepsTheAddressUntilTheReboot) {
    auto simulator = StartInLan1({Camera("protocol=4022,3702 reboot_needed=on reboot_pause=2000")});
    auto probe = ProbeOnLan1(4022);

    const Answer changed = PostWithToken("192.0.2.70", SetAddress("192.0.2.72"));
    ASSERT_EQ(changed.status, 200);
    EXPECT_NE(changed.body.find("<tds:RebootNeeded>true</tds:RebootNeeded>"), std::string::npos);
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(AnswersAt("192.0.2.70")); // nothing changed yet

    const auto rebootAsked = std::chrono::steady_clock::now();
    ASSERT_EQ(PostWithToken("192.0.2.70", "<tds:SystemReboot/>").status, 200);
    std::this_thread::sleep_for(600ms);
    probe->Broadcast(SearchRequest4022(), 4022);
    EXPECT_TRUE(probe->Receive(1, 300ms).empty()); // silent while it reboots
    EXPECT_TRUE(AnswersAt("192.0.2.72"));
    EXPECT_GE(std::chrono::steady_clock::now() - rebootAsked, 2s);
    EXPECT_EQ(PostWithToken("192.0.2.70", kInterfaces).status, 0);
}

TEST(DevsimService, NameScopeAndPortChangeTheDevice) {
    auto simulator = StartInLan1({Camera("name=Gate")});

    const Answer scopes = PostWithToken(
        "192.0.2.70", "<tds:SetScopes><tds:Scopes>onvif://www.onvif.org/name/Hall%20B</tds:Scopes>"
                      "<tds:Scopes>onvif://www.onvif.org/location/North</tds:Scopes>"
                      "</tds:SetScopes>");
    ASSERT_EQ(scopes.status, 200) << scopes.body;
    const Answer read = PostWithToken("192.0.2.70", "<tds:GetScopes/>");
    EXPECT_NE(read.body.find("<tt:ScopeDef>Fixed</tt:ScopeDef><tt:ScopeItem>onvif://"
                             "www.onvif.org/type/video_encoder</tt:ScopeItem>"),
              std::string::npos)
        << read.body;
    EXPECT_NE(read.body.find("<tt:ScopeDef>Configurable</tt:ScopeDef><tt:ScopeItem>onvif://"
                             "www.onvif.org/name/Hall%20B</tt:ScopeItem>"),
              std::string::npos);
    EXPECT_EQ(read.body.find("name/Gate"), std::string::npos);
    EXPECT_EQ(simulator->Device(0).name, "Hall B");

    ASSERT_EQ(PostWithToken("192.0.2.70",
                            "<tds:SetNetworkProtocols><tds:NetworkProtocols><tt:Name>HTTP</tt:Name>"
                            "<tt:Enabled>true</tt:Enabled><tt:Port>8080</tt:Port>"
                            "</tds:NetworkProtocols></tds:SetNetworkProtocols>")
                  .status,
              200);
    std::this_thread::sleep_for(500ms);
    const Answer moved = Post("192.0.2.70", Envelope("<tds:GetNetworkProtocols/>"), {}, 8080);
    EXPECT_EQ(moved.status, 401); // served on the new port, which asks for a login as before
    EXPECT_EQ(simulator->Device(0).webPort, 8080);
}

TEST(DevsimService, IgnoringCameraSaysOkAndKeepsItsSettings) {
    auto simulator = StartInLan1({Camera("gateway=192.0.2.1 changes=ignore")});

    const Answer changed =
        PostWithToken("192.0.2.70", "<tds:SetNetworkDefaultGateway><tds:IPv4Address>192.0.2.254"
                                    "</tds:IPv4Address></tds:SetNetworkDefaultGateway>");
    EXPECT_EQ(changed.status, 200);
    EXPECT_NE(changed.body.find("SetNetworkDefaultGatewayResponse"), std::string::npos);
    const Answer read = PostWithToken("192.0.2.70", "<tds:GetNetworkDefaultGateway/>");
    EXPECT_NE(read.body.find("<tt:IPv4Address>192.0.2.1</tt:IPv4Address>"), std::string::npos)
        << read.body;
    EXPECT_EQ(PostWithToken("192.0.2.70", SetAddress("192.0.2.73")).status, 200);
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(AnswersAt("192.0.2.70"));
}

TEST(DevsimService, DroppingCameraClosesTheConnectionAndKeepsItsSettings) {
    auto simulator = StartInLan1({Camera("gateway=192.0.2.1 changes=drop")});

    const Answer changed =
        PostWithToken("192.0.2.70", "<tds:SetNetworkDefaultGateway><tds:IPv4Address>192.0.2.254"
                                    "</tds:IPv4Address></tds:SetNetworkDefaultGateway>");

    EXPECT_EQ(changed.status, 0); // no whole answer
    EXPECT_NE(PostWithToken("192.0.2.70", "<tds:GetNetworkDefaultGateway/>")
                  .body.find("<tt:IPv4Address>192.0.2.1</tt:IPv4Address>"),
              std::string::npos);
}

} // namespace
} // namespace vanmoor::devsim::test
