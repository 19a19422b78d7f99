#include "DeviceEditor.h"
#include "FakeLibrary.h"
#include "LogCapture.h"
#include "SharedSettings.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kestrun::test {
namespace {

FakeDevice PlainCamera() {
    return FakeDevice{.name = "Lobby",
                      .ip = {192, 168, 1, 20},
                      .netmask = {255, 255, 255, 0},
                      .gateway = {192, 168, 1, 1},
                      .dns1 = {8, 8, 4, 4},
                      .dns2 = {1, 0, 0, 1},
                      .mac = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55},
                      .port = 80,
                      .dhcp = false,
                      .protocol = 0,
                      .missing = false};
}

FakeDevice AuthCamera() {
    return FakeDevice{.name = "Gate",
                      .ip = {198, 51, 100, 7},
                      .netmask = {255, 255, 0, 0},
                      .gateway = {198, 51, 0, 1},
                      .dns1 = {},
                      .dns2 = {},
                      .mac = {0xAA, 0xBB, 0xCC, 0x0D, 0x0E, 0x0F},
                      .port = 8080,
                      .dhcp = true,
                      .protocol = 1,
                      .missing = false};
}

// The form as the fields show a loaded device, ready to submit.
SettingsForm FormFrom(const DeviceFields& fields) {
    SettingsForm form;
    form.name = fields.name;
    form.portText = Utf16FromAscii(std::to_string(fields.port));
    form.ip = fields.ip;
    form.netmask = fields.netmask;
    form.gateway = fields.gateway;
    form.dns1 = fields.dns1;
    form.dns2 = fields.dns2;
    form.dhcp = fields.dhcp;
    return form;
}

class DeviceEditorTest : public testing::Test {
protected:
    FakeLibrary m_Fake;
    LibraryApi m_Api = m_Fake.Api();
    DeviceEditor m_Editor{m_Api};
};

TEST_F(DeviceEditorTest, APort4022DeviceLoadsWithoutCredentialsAndSubmitsPlain) {
    m_Fake.devices = {AuthCamera(), PlainCamera()};
    const auto fields = m_Editor.Load(2);
    ASSERT_TRUE(fields);
    EXPECT_FALSE(fields->credentials);
    EXPECT_FALSE(fields->dhcp);
    EXPECT_EQ(fields->name, u"Lobby");
    EXPECT_EQ(fields->ip, (Ipv4Octets{192, 168, 1, 20}));
    EXPECT_EQ(fields->netmask, (Ipv4Octets{255, 255, 255, 0}));
    EXPECT_EQ(fields->gateway, (Ipv4Octets{192, 168, 1, 1}));
    EXPECT_EQ(fields->dns1, (Ipv4Octets{8, 8, 4, 4}));
    EXPECT_EQ(fields->dns2, (Ipv4Octets{1, 0, 0, 1}));
    EXPECT_EQ(fields->port, 80);
    EXPECT_EQ(fields->mac, "00:11:22:33:44:55");

    SettingsForm form = FormFrom(*fields);
    form.name = u"Hall";
    form.ip = {192, 168, 1, 21};
    form.user = u"ignored";
    EXPECT_EQ(m_Editor.Submit(form).outcome, SubmitOutcome::Sent);
    ASSERT_TRUE(m_Fake.lastSet);
    EXPECT_FALSE(m_Fake.lastSetMd5);
    const NetSettings& sent = *m_Fake.lastSet;
    const unsigned char ip[4] = {192, 168, 1, 21};
    const unsigned char dns2[4] = {1, 0, 0, 1};
    const unsigned char mac[6] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    const char name[18] = "Hall";
    EXPECT_EQ(std::memcmp(sent.IP, ip, 4), 0);
    EXPECT_EQ(std::memcmp(sent.DNS2, dns2, 4), 0);
    EXPECT_EQ(std::memcmp(sent.MAC, mac, 6), 0);
    EXPECT_EQ(std::memcmp(sent.name, name, 18), 0);
    EXPECT_EQ(sent.port, 80);
    EXPECT_EQ(sent.bDHCP, 0);
}

TEST_F(DeviceEditorTest, APort32970DeviceLoadsWithCredentialsAndSubmitsThem) {
    m_Fake.devices = {AuthCamera()};
    const auto fields = m_Editor.Load(1);
    ASSERT_TRUE(fields);
    EXPECT_TRUE(fields->credentials);
    EXPECT_TRUE(fields->dhcp);
    EXPECT_EQ(fields->mac, "aa:bb:cc:0d:0e:0f");

    SettingsForm form = FormFrom(*fields);
    form.user = u"admin";
    form.password = u"s3cret";
    EXPECT_EQ(m_Editor.Submit(form).outcome, SubmitOutcome::Sent);
    ASSERT_TRUE(m_Fake.lastSetMd5);
    EXPECT_FALSE(m_Fake.lastSet);
    const AuthNetSettings& sent = *m_Fake.lastSetMd5;
    const char user[32] = "admin";
    const char password[32] = "s3cret";
    const char name[32] = "Gate";
    const unsigned char mac[6] = {0xAA, 0xBB, 0xCC, 0x0D, 0x0E, 0x0F};
    EXPECT_EQ(std::memcmp(sent.user, user, 32), 0);
    EXPECT_EQ(std::memcmp(sent.password, password, 32), 0);
    EXPECT_EQ(std::memcmp(sent.name, name, 32), 0);
    EXPECT_EQ(std::memcmp(sent.MAC, mac, 6), 0);
    EXPECT_EQ(sent.port, 8080);
    EXPECT_EQ(sent.DHCP, 1);
}

TEST_F(DeviceEditorTest, AClickBesideTheRowsChangesNothingAndLogsNothing) {
    LogCapture log;
    m_Fake.devices = {PlainCamera()};
    ASSERT_TRUE(m_Editor.Load(1));
    EXPECT_FALSE(m_Editor.Load(0));
    EXPECT_EQ(m_Editor.Selected().port, 80);
    EXPECT_EQ(log.ProgramText(), "CIpEditDlg::OnClickDevList : 1\n");
}

TEST_F(DeviceEditorTest, ADeviceThatQueriesMissLoadsAsZerosAndStillBecomesTheTarget) {
    FakeDevice missing;
    missing.missing = true;
    m_Fake.devices = {missing};
    const auto fields = m_Editor.Load(1);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->name, u"");
    EXPECT_EQ(fields->ip, (Ipv4Octets{}));
    EXPECT_EQ(fields->mac, "00:00:00:00:00:00");
    EXPECT_EQ(fields->port, 0);
    EXPECT_FALSE(fields->credentials);
}

TEST_F(DeviceEditorTest, NamesOf18CharactersPassAnd19AreRefusedBeforeSending) {
    m_Fake.devices = {PlainCamera()};
    SettingsForm form = FormFrom(*m_Editor.Load(1));
    form.name = u"abcdefghijklmnopqrs";
    EXPECT_EQ(m_Editor.Submit(form).problem, FormProblem::NameTooLong);
    EXPECT_FALSE(m_Fake.lastSet);
    form.name = u"abcdefghijklmnopqr";
    EXPECT_EQ(m_Editor.Submit(form).outcome, SubmitOutcome::Sent);
    ASSERT_TRUE(m_Fake.lastSet);
    EXPECT_EQ(std::memcmp(m_Fake.lastSet->name, "abcdefghijklmnopqr", 18), 0);
}

TEST_F(DeviceEditorTest, NamesGoWholeOrAreRefusedAndCredentialsAreCutAtACharacterBoundary) {
    // Seven two-byte characters (14 bytes), then two three-byte ones: 20 bytes in 9 characters.
    const std::u16string twentyBytes = u"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u65e5\u672c";
    m_Fake.devices = {PlainCamera(), AuthCamera()};
    SettingsForm plain = FormFrom(*m_Editor.Load(1));
    plain.name = twentyBytes;
    EXPECT_EQ(m_Editor.Submit(plain).problem, FormProblem::NameTooManyBytes)
        << "the port-4022 command carries 18 bytes";
    EXPECT_FALSE(m_Fake.lastSet);

    SettingsForm form = FormFrom(*m_Editor.Load(2));
    form.name = twentyBytes;
    // Ten three-byte characters (30 bytes), then a four-byte one.
    form.user = u"\u65e5\u65e5\u65e5\u65e5\u65e5\u65e5\u65e5\u65e5\u65e5\u65e5\U0001F600";
    form.password = std::u16string(31, u'p') + u"\u00e9";
    ASSERT_EQ(m_Editor.Submit(form).outcome, SubmitOutcome::Sent);
    const AuthNetSettings& sent = *m_Fake.lastSetMd5;

    char name[32] = {};
    std::memcpy(name,
                "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xE6\x97\xA5\xE6\x9C\xAC",
                20);
    EXPECT_EQ(std::memcmp(sent.name, name, 32), 0) << "the port-32970 command carries 32 bytes";
    char user[32] = {};
    for (int i = 0; i < 10; ++i) {
        std::memcpy(user + 3 * i, "\xE6\x97\xA5", 3);
    }
    EXPECT_EQ(std::memcmp(sent.user, user, 32), 0);
    char password[32] = {};
    std::memset(password, 'p', 31);
    EXPECT_EQ(std::memcmp(sent.password, password, 32), 0);
}

TEST_F(DeviceEditorTest, ANameLeftAsLoadedGoesBackAsTheDevicesOwnBytes) {
    FakeDevice device = PlainCamera();
    device.name = "Cam\xe9ra Nord"; // not UTF-8: shown with a replacement character
    m_Fake.devices = {device};
    const SettingsForm form = FormFrom(*m_Editor.Load(1));
    const SubmitResult result = m_Editor.Submit(form);
    ASSERT_EQ(result.outcome, SubmitOutcome::Sent);
    EXPECT_EQ(std::string(m_Fake.lastSet->name), "Cam\xe9ra Nord");
    EXPECT_EQ(result.sent.nameBytes, "Cam\xe9ra Nord") << "what the verification compares with";

    SettingsForm renamed = form;
    renamed.name = u"Cam\u00e9ra Sud";
    ASSERT_EQ(m_Editor.Submit(renamed).outcome, SubmitOutcome::Sent);
    EXPECT_EQ(std::string(m_Fake.lastSet->name), "Cam\xc3\xa9ra Sud");
}

TEST_F(DeviceEditorTest, PortMustBeAnIntegerFrom0To65535) {
    m_Fake.devices = {PlainCamera()};
    SettingsForm form = FormFrom(*m_Editor.Load(1));
    const std::pair<std::u16string, FormProblem> cases[] = {
        {u"", FormProblem::PortNotInteger},
        {u"8o", FormProblem::PortNotInteger},
        {u"99999999999", FormProblem::PortNotInteger},
        {u"-1", FormProblem::PortOutOfRange},
        {u"65536", FormProblem::PortOutOfRange},
        {u"0", FormProblem::None},
        {u" 65535 ", FormProblem::None},
    };
    for (const auto& [text, problem] : cases) {
        form.portText = text;
        EXPECT_EQ(CheckSettingsForm(form).problem, problem)
            << "port text: " << std::string(text.begin(), text.end());
    }
    form.portText = u"65535";
    EXPECT_EQ(m_Editor.Submit(form).outcome, SubmitOutcome::Sent);
    EXPECT_EQ(m_Fake.lastSet->port, 65535);
}

TEST_F(DeviceEditorTest, ThePortCheckComesFirstThenTheNameThenTheRange) {
    SettingsForm form;
    form.name = std::u16string(19, u'n');
    form.portText = u"x";
    EXPECT_EQ(CheckSettingsForm(form).problem, FormProblem::PortNotInteger);
    form.portText = u"70000";
    EXPECT_EQ(CheckSettingsForm(form).problem, FormProblem::NameTooLong);
}

TEST_F(DeviceEditorTest, SubmitBeforeAnyClickStopsAtTheEmptyPortOrSendsTheZeroMac) {
    LogCapture log;
    SettingsForm form;
    EXPECT_EQ(m_Editor.Submit(form).problem, FormProblem::PortNotInteger);
    EXPECT_TRUE(m_Fake.calls.empty());

    form.portText = u"80";
    form.ip = {192, 168, 1, 20};
    form.netmask = {255, 255, 255, 0};
    m_Fake.setResult = 0; // the library knows no device with that MAC
    EXPECT_EQ(m_Editor.Submit(form).outcome, SubmitOutcome::Failed);
    ASSERT_TRUE(m_Fake.lastSet);
    EXPECT_EQ(std::memcmp(m_Fake.lastSet->MAC, "\0\0\0\0\0\0", 6), 0);
    EXPECT_EQ(log.ProgramText(), "CIpEditDlg::OnSubmit() failed\n");
}

TEST_F(DeviceEditorTest, TheWebAddressIsTheSelectedDevicesAndNoneBeforeAClick) {
    LogCapture log;
    EXPECT_EQ(m_Editor.WebAddress(), std::nullopt);
    m_Fake.devices = {PlainCamera()};
    m_Editor.Load(1);
    EXPECT_EQ(m_Editor.WebAddress(), "http://192.168.1.20:80");
    EXPECT_EQ(log.ProgramText(), "Connect to http://0.0.0.0:0\n"
                                 "CIpEditDlg::OnClickDevList : 1\n"
                                 "Connect to http://192.168.1.20:80\n");
}

TEST_F(DeviceEditorTest, APortOutsideTheRangeGivesNoWebAddress) {
    FakeDevice device = PlainCamera();
    device.port = 70000;
    m_Fake.devices = {device};
    m_Editor.Load(1);
    EXPECT_EQ(m_Editor.WebAddress(), std::nullopt);
}

} // namespace
} // namespace kestrun::test
