// The simulated cameras' device service, spoken to by hand (SoapByHand.h), so that nothing of
// the product's client takes part.
#include "DeviceConfig.h"
#include "DeviceGenerator.h"
#include "HelloListener.h"
#include "LibraryDatagrams.h"
#include "ProbeMessage.h"
#include "Protocol.h"
#include "SimulatorInLan.h"
#include "SoapByHand.h"

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <thread>

namespace vanmoor::devsim::test {
namespace {

using namespace std::chrono_literals;

constexpr char kPassword[] = "\xC3\x96"
                             "ffne-mich 1"; // "Öffne-mich 1" in UTF-8

// A request with a UsernameToken made on the host's clock.
Answer PostWithToken(const std::string& host, const std::string& body) {
    return Post(host, Envelope(body, TokenHeader(kPassword, std::chrono::system_clock::now())));
}

SimDevice Camera(const std::string& settings) {
    return ParseDevice("protocol=3702 mac=02:00:5e:00:07:01 ip=192.0.2.70 service=on "
                       "password=\"" +
                       std::string(kPassword) + "\" " + settings);
}

constexpr char kHostname[] = "<tds:GetHostname/>";
constexpr char kInterfaces[] = "<tds:GetNetworkInterfaces/>";
constexpr char kPort8080[] =
    "<tds:SetNetworkProtocols><tds:NetworkProtocols><tt:Name>HTTP</tt:Name><tt:Enabled>true"
    "</tt:Enabled><tt:Port>8080</tt:Port></tds:NetworkProtocols></tds:SetNetworkProtocols>";

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

    ASSERT_EQ(PostWithToken("192.0.2.70", kPort8080).status, 200);
    std::this_thread::sleep_for(500ms);
    const Answer moved = Post("192.0.2.70", Envelope("<tds:GetNetworkProtocols/>"), {}, 8080);
    EXPECT_EQ(moved.status, 401); // served on the new port, which asks for a login as before
    EXPECT_EQ(simulator->Device(0).webPort, 8080);
}

TEST(DevsimService, PortAndThenAddressChangedAtOnceAreBothTaken) {
    auto simulator = StartInLan1({Camera("")});

    ASSERT_EQ(PostWithToken("192.0.2.70", kPort8080).status, 200);
    ASSERT_EQ(PostWithToken("192.0.2.70", SetAddress("192.0.2.75")).status, 200);
    std::this_thread::sleep_for(700ms);

    const Answer read = Post(
        "192.0.2.75",
        Envelope(kInterfaces, TokenHeader(kPassword, std::chrono::system_clock::now())), {}, 8080);
    EXPECT_EQ(read.status, 200);
    EXPECT_NE(read.body.find("<tt:Address>192.0.2.75</tt:Address>"), std::string::npos);
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

TEST(DevsimService, AUnicastProbeIsAnsweredByTheCameraItIsSentToAlone) {
    auto simulator = StartInLan1(
        {Camera(""), ParseDevice("protocol=3702 mac=02:00:5e:00:07:02 ip=192.0.2.72 service=on")});
    auto probe = ProbeOnLan1(0);
    const std::string text = wsd::BuildProbe(wsd::kNetworkVideoTransmitter,
                                             "urn:uuid:0b5e7a1d-0000-4000-8000-000000000072");

    probe->SendTo(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                  "192.0.2.72", wsd::kPort);

    const std::vector<Arrival> answers = probe->Receive(2, 1500ms);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].source, "192.0.2.72");
}

// A site of a hundred cameras with a web service each, at 192.0.2.100 to 192.0.2.199.
std::vector<SimDevice> HundredCameras() {
    return GenerateDevices(ParseDevice("protocol=3702 mac=02:00:5e:00:08:01 ip=192.0.2.100 "
                                       "service=on login=digest"),
                           100);
}

// The threads of this process now.
int ThreadCount() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("Threads:")) {
            return std::stoi(line.substr(8));
        }
    }
    return 0;
}

TEST(DevsimService, HundredCamerasStartUnderTheUsualOpenFileLimit) {
    // A soft limit below the sockets a hundred cameras hold, as processes start with 1,024 and
    // a thousand cameras hold two thousand.
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &before), 0);
    rlimit low = before;
    low.rlim_cur = 96;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);

    std::unique_ptr<Simulator> simulator;
    EXPECT_NO_THROW(simulator = StartInLan1(HundredCameras()));
    EXPECT_EQ(Post("192.0.2.199", Envelope(kHostname)).status, 401);
    simulator.reset();
    setrlimit(RLIMIT_NOFILE, &before);
}

TEST(DevsimService, HundredCamerasServeOnFewThreads) {
    const int before = ThreadCount();
    auto simulator = StartInLan1(HundredCameras());
    // A listening thread and two workers a camera, and the simulator's own few.
    EXPECT_LE(ThreadCount() - before, 3 * 100 + 10);
    EXPECT_EQ(Post("192.0.2.199", Envelope(kHostname)).status, 401);
}

} // namespace
} // namespace vanmoor::devsim::test
