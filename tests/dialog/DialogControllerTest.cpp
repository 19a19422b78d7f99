#include "DialogController.h"
#include "FakeLibrary.h"
#include "FakeView.h"
#include "FakeWsdScan.h"
#include "LogCapture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace kestrun::test {
namespace {

using Calls = std::vector<std::string>;

FakeDevice Lobby() {
    return FakeDevice{.name = "Lobby",
                      .ip = {192, 0, 2, 20},
                      .netmask = {255, 255, 255, 0},
                      .gateway = {192, 0, 2, 1},
                      .mac = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55},
                      .port = 80};
}

FakeDevice Gate() {
    return FakeDevice{.name = "Gate",
                      .ip = {198, 51, 100, 7},
                      .netmask = {255, 255, 255, 0},
                      .mac = {0xAA, 0xBB, 0xCC, 0x0D, 0x0E, 0x0F},
                      .port = 8080,
                      .dhcp = true,
                      .protocol = 1};
}

class DialogControllerTest : public testing::Test {
protected:
    DialogControllerTest() {
        // Documentation addresses, which no host running the test owns.
        m_Fake.localAddresses = {"192.0.2.5", "198.51.100.1"};
        m_Fake.devices = {Lobby(), Gate()};
    }

    // Opens the window and lets its first search end.
    void Open() {
        m_Controller.OnInitDialog();
        ASSERT_TRUE(m_View.FinishBackgroundWork());
        m_Fake.calls.clear();
    }

    // The list as exported to JSON.
    nlohmann::json ExportedDevices() {
        m_View.saveChoice = SaveChoice{"/export/devices.json", 1};
        m_Controller.OnExportList();
        return nlohmann::json::parse(m_View.files["/export/devices.json"]).at("devices");
    }

    int RowNamed(std::u16string_view name) const {
        const auto& rows = m_Controller.Devices().Rows();
        for (std::size_t row = 0; row < rows.size(); ++row) {
            if (rows[row][1] == name) {
                return static_cast<int>(row);
            }
        }
        return -1;
    }

    bool Disabled(ControlId control) const { return m_View.disabled.contains(control); }
    bool Hidden(ControlId control) const { return m_View.hidden.contains(control); }

    LogCapture m_StartLog;
    FakeLibrary m_Fake;
    FakeView m_View{m_Fake.calls};
    std::unique_ptr<FakeWsdScan> m_OwnedScan = std::make_unique<FakeWsdScan>();
    FakeWsdScan& m_Scan = *m_OwnedScan;
    DialogController m_Controller{m_Fake.Api(), m_View, std::move(m_OwnedScan)};
};

vanmoor::site::SiteDevice WsdCamera(std::string name, Ipv4Octets ip, std::string receivedOn,
                                    std::vector<std::string> xaddrs) {
    vanmoor::site::SiteDevice camera;
    camera.protocol = vanmoor::site::kWsdProtocol;
    camera.name = std::move(name);
    camera.ip = ip;
    camera.port = 8080;
    camera.localAddress = std::move(receivedOn);
    camera.wsd.emplace();
    camera.wsd->endpoint = "urn:uuid:" + camera.name;
    camera.wsd->xaddrs = std::move(xaddrs);
    camera.wsd->answeredFrom = ip;
    return camera;
}

TEST_F(DialogControllerTest, ASearchLocksTheControlsThenShowsTheRowsAndEmptiesTheFields) {
    m_Controller.OnInitDialog();
    EXPECT_EQ(m_Fake.calls, (Calls{"view:ArrangeControls", "init()", "setIPSearch(0,)",
                                   "setIPSearch(0,)", "view:RunInBackground"}));
    EXPECT_TRUE(Disabled(ControlId::SearchButton));
    EXPECT_TRUE(Disabled(ControlId::DeviceList));
    EXPECT_FALSE(Hidden(ControlId::ProgressLabel));
    EXPECT_EQ(m_View.texts[ControlId::ProgressLabel], u"Searching.....");

    ASSERT_TRUE(m_View.FinishBackgroundWork());
    EXPECT_EQ(m_Fake.calls.back(), "view:ShowRows");
    EXPECT_EQ(m_Fake.calls[m_Fake.calls.size() - 2], "search(1500)");
    EXPECT_EQ(m_View.findings.size(), 2U);
    EXPECT_FALSE(Disabled(ControlId::SearchButton));
    EXPECT_FALSE(Disabled(ControlId::DeviceList));
    EXPECT_TRUE(Hidden(ControlId::ProgressLabel));
    EXPECT_TRUE(Disabled(ControlId::SubmitButton)); // nothing loaded to submit
    EXPECT_EQ(m_View.interfaceEntries,
              (std::vector<std::u16string>{u"Select All", u"192.0.2.5", u"198.51.100.1"}));
    EXPECT_EQ(m_View.chosenInterface, -1);

    // The next search empties the fields of the device loaded before it.
    m_Controller.OnClickRow(RowNamed(u"Lobby"));
    EXPECT_FALSE(Disabled(ControlId::SubmitButton));
    m_Controller.OnSearch();
    for (const ControlId field :
         {ControlId::NameField, ControlId::PortField, ControlId::MacField}) {
        EXPECT_FALSE(m_View.texts.contains(field));
    }
    EXPECT_TRUE(m_View.addresses.empty());
    ASSERT_TRUE(m_View.FinishBackgroundWork());
    EXPECT_TRUE(Disabled(ControlId::SubmitButton));
}

TEST_F(DialogControllerTest, AnInterfaceTheHostLostIsRefusedWithoutASearch) {
    Open();
    m_View.chosenInterface = 1;
    m_Fake.addressesAtNextSetIPSearch = std::vector<std::string>{"203.0.113.9"};
    m_Controller.OnSearch();
    EXPECT_EQ(m_Fake.calls, (Calls{"setIPSearch(1,192.0.2.5)", "view:ShowMessage"}));
    ASSERT_EQ(m_View.messages.size(), 1U);
    EXPECT_EQ(m_View.messages[0].first, MessageIcon::None);
    EXPECT_EQ(m_View.messages[0].second, u"Please check the network card settings!");
    EXPECT_EQ(m_View.interfaceEntries,
              (std::vector<std::u16string>{u"Select All", u"203.0.113.9"}));
    EXPECT_EQ(m_View.chosenInterface, -1);
    EXPECT_FALSE(m_View.BackgroundWorkPending());
    EXPECT_FALSE(Disabled(ControlId::SearchButton));
}

TEST_F(DialogControllerTest, AClickLoadsTheDeviceAndShowsCredentialsOnlyForPort32970) {
    Open();
    const LogCapture log;
    m_Controller.OnClickRow(RowNamed(u"Gate"));
    EXPECT_EQ(log.ProgramText(), "CIpEditDlg::OnClickDevList : 2\n");
    EXPECT_EQ(m_View.texts[ControlId::NameField], u"Gate");
    EXPECT_EQ(m_View.addresses[ControlId::IpField], (Ipv4Octets{198, 51, 100, 7}));
    EXPECT_EQ(m_View.addresses[ControlId::NetmaskField], (Ipv4Octets{255, 255, 255, 0}));
    EXPECT_EQ(m_View.texts[ControlId::PortField], u"8080");
    EXPECT_EQ(m_View.texts[ControlId::MacField], u"AA:BB:CC:0D:0E:0F");
    EXPECT_EQ(m_View.checked, (std::set<ControlId>{ControlId::DhcpRadio}));
    EXPECT_TRUE(Disabled(ControlId::IpField));
    EXPECT_FALSE(Disabled(ControlId::Dns1Field));
    for (const ControlId control : {ControlId::UserNameField, ControlId::PasswordField,
                                    ControlId::StaticRadio, ControlId::DhcpRadio}) {
        EXPECT_FALSE(Hidden(control));
    }

    m_Controller.OnClickRow(RowNamed(u"Lobby"));
    EXPECT_EQ(m_View.checked, (std::set<ControlId>{ControlId::StaticRadio}));
    EXPECT_FALSE(Disabled(ControlId::IpField));
    EXPECT_TRUE(Hidden(ControlId::UserNameField));
    EXPECT_TRUE(Hidden(ControlId::PasswordLabel));

    // Beside the rows: nothing changes, nothing is logged.
    m_Controller.OnClickRow(7);
    EXPECT_EQ(m_View.texts[ControlId::NameField], u"Lobby");
    EXPECT_EQ(log.ProgramText(),
              "CIpEditDlg::OnClickDevList : 2\nCIpEditDlg::OnClickDevList : 1\n");
}

TEST_F(DialogControllerTest, TheRadioButtonsSetBothMarksAndTheAddressingFields) {
    Open();
    m_Controller.OnClickRow(RowNamed(u"Lobby"));
    m_Controller.OnRadioDhcp();
    EXPECT_EQ(m_View.checked, (std::set<ControlId>{ControlId::DhcpRadio}));
    for (const ControlId field :
         {ControlId::IpField, ControlId::NetmaskField, ControlId::GatewayField}) {
        EXPECT_TRUE(Disabled(field));
    }
    EXPECT_FALSE(Disabled(ControlId::Dns2Field));
    m_Controller.OnRadioStatic();
    EXPECT_EQ(m_View.checked, (std::set<ControlId>{ControlId::StaticRadio}));
    EXPECT_FALSE(Disabled(ControlId::GatewayField));
}

TEST_F(DialogControllerTest, ADoubleClickOpensTheRowsPageOrSaysWhyItCannot) {
    Open();
    const LogCapture log;
    m_Controller.OnDoubleClickRow(RowNamed(u"Lobby"));
    EXPECT_EQ(m_View.openedUrls, (std::vector<std::string>{"http://192.0.2.20:80"}));
    EXPECT_EQ(log.ProgramText(),
              "CIpEditDlg::OnClickDevList : 1\nConnect to http://192.0.2.20:80\n");

    m_Fake.devices[1].port = 70000;
    m_Controller.OnDoubleClickRow(RowNamed(u"Gate"));
    EXPECT_EQ(m_View.openedUrls.size(), 1U);
    ASSERT_EQ(m_View.messages.size(), 1U);
    EXPECT_EQ(m_View.messages[0].first, MessageIcon::Warning);
    EXPECT_EQ(m_View.messages[0].second,
              u"The device reports web port 70000, which a web browser cannot open.");

    // The rows are being replaced: nothing opens.
    m_Controller.OnSearch();
    m_Controller.OnDoubleClickRow(RowNamed(u"Lobby"));
    EXPECT_EQ(m_View.openedUrls.size(), 1U);
}

// A device reporting a loopback address would have the page opened on this computer.
TEST_F(DialogControllerTest, ADoubleClickOpensNoPageOnAnAddressNoDeviceCanUse) {
    m_Fake.devices[0].ip = {127, 0, 0, 5};
    Open();
    m_Controller.OnDoubleClickRow(RowNamed(u"Lobby"));
    EXPECT_TRUE(m_View.openedUrls.empty());
    ASSERT_EQ(m_View.messages.size(), 1U);
    EXPECT_EQ(m_View.messages[0].second,
              u"address 127.0.0.5 is a loopback address, which no device can use");
}

TEST_F(DialogControllerTest, ASubmitSearchesAgainThenReportsAndReloadsTheDevice) {
    m_Fake.setsChangeDevices = true;
    Open();
    // Sorted so that the device's row is not its library index.
    m_Controller.OnColumnClick(1);
    m_Controller.OnColumnClick(1);
    ASSERT_EQ(RowNamed(u"Lobby"), 1);
    m_Controller.OnClickRow(RowNamed(u"Lobby"));
    m_View.addresses[ControlId::IpField] = {192, 0, 2, 21};
    m_Fake.calls.clear();
    const LogCapture log;
    m_Controller.OnSubmit();
    EXPECT_EQ(m_Fake.calls, (Calls{"set()", "setIPSearch(0,)", "view:RunInBackground"}));
    EXPECT_FALSE(m_View.texts.contains(ControlId::NameField));
    ASSERT_TRUE(m_View.FinishBackgroundWork());
    EXPECT_EQ(m_Fake.calls, (Calls{"set()", "setIPSearch(0,)", "view:RunInBackground",
                                   "search(1500)", "view:ShowRows", "view:ShowMessage"}));
    // Taken, on a subnet the host (as far as the test can know it) is not on.
    ASSERT_EQ(m_View.messages.size(), 1U);
    EXPECT_EQ(m_View.messages[0].first, MessageIcon::Warning);
    EXPECT_TRUE(m_View.messages[0].second.starts_with(
        u"The device took the new settings, but its address 192.0.2.21 is on subnet 192.0.2.0/24"));
    EXPECT_EQ(m_View.addresses[ControlId::IpField], (Ipv4Octets{192, 0, 2, 21}));
    EXPECT_EQ(m_View.currentRow, RowNamed(u"Lobby"));
    EXPECT_EQ(log.ProgramText(), "CIpEditDlg::OnClickDevList : 1\n");

    // A device that ignores the command is reported as such.
    m_Fake.devices[0].ignoresSets = true;
    m_View.addresses[ControlId::IpField] = {192, 0, 2, 22};
    m_Controller.OnSubmit();
    ASSERT_TRUE(m_View.FinishBackgroundWork());
    EXPECT_EQ(m_View.messages.back().second, u"The device still shows its old settings: it did "
                                             u"not receive the command. Please try again.");
    EXPECT_EQ(m_View.addresses[ControlId::IpField], (Ipv4Octets{192, 0, 2, 21}));
}

TEST_F(DialogControllerTest, ARefusedSubmitSendsNothingAndPointsAtTheField) {
    Open();
    m_Controller.OnClickRow(RowNamed(u"Lobby"));
    m_View.texts[ControlId::NameField] = u"A name of 19 chars.";
    m_Fake.calls.clear();
    m_Controller.OnSubmit();
    EXPECT_EQ(m_Fake.calls, Calls{"view:ShowMessage"});
    EXPECT_EQ(m_View.messages[0].first, MessageIcon::Warning);
    EXPECT_EQ(m_View.focused, ControlId::NameField);

    m_View.texts[ControlId::NameField] = u"Lobby";
    m_View.texts[ControlId::PortField] = u"80x";
    m_Controller.OnSubmit();
    EXPECT_EQ(m_View.focused, ControlId::PortField);
    EXPECT_FALSE(m_Fake.lastSet);
}

TEST_F(DialogControllerTest, ASubmitWhoseSearchFailedSaysTheResultIsUnknown) {
    m_Fake.setsChangeDevices = true;
    Open();
    m_Controller.OnClickRow(RowNamed(u"Lobby"));
    m_View.addresses[ControlId::IpField] = {192, 0, 2, 21};
    m_Fake.searchSucceeds = false;
    m_Controller.OnSubmit();
    ASSERT_TRUE(m_Fake.lastSet);
    ASSERT_TRUE(m_View.FinishBackgroundWork());
    ASSERT_EQ(m_View.messages.size(), 1U);
    EXPECT_EQ(m_View.messages[0].first, MessageIcon::Warning);
    EXPECT_EQ(m_View.messages[0].second,
              u"The search after sending the settings failed: whether the device took them is "
              u"not known. Please search again.");
}

// Addresses every other path refuses are refused here too, with the rule's reason.
TEST_F(DialogControllerTest, ASubmitOfAddressesNoDeviceCanWorkWithSendsNothing) {
    Open();
    m_Controller.OnClickRow(RowNamed(u"Lobby"));
    struct Case {
        Ipv4Octets ip;
        Ipv4Octets netmask;
        Ipv4Octets gateway;
    };
    const Case cases[] = {{{127, 0, 0, 5}, {255, 0, 0, 0}, {0, 0, 0, 0}},
                          {{239, 1, 1, 5}, {255, 255, 255, 0}, {0, 0, 0, 0}},
                          {{192, 0, 2, 20}, {0, 0, 0, 0}, {198, 51, 100, 1}},
                          {{192, 0, 2, 20}, {255, 0, 255, 0}, {0, 0, 0, 0}},
                          {{192, 0, 2, 127}, {255, 255, 255, 128}, {0, 0, 0, 0}}};
    for (const Case& c : cases) {
        m_View.addresses[ControlId::IpField] = c.ip;
        m_View.addresses[ControlId::NetmaskField] = c.netmask;
        m_View.addresses[ControlId::GatewayField] = c.gateway;
        m_Controller.OnSubmit();
    }
    EXPECT_FALSE(m_Fake.lastSet);
    ASSERT_EQ(m_View.messages.size(), 5U);
    EXPECT_EQ(m_View.messages[2].second, u"netmask 0.0.0.0 leaves the device no subnet");
    EXPECT_EQ(m_View.focused, ControlId::IpField);

    // A gateway typed as "192.0.2." is no address at all, not 192.0.2.0.
    m_View.addresses[ControlId::IpField] = {192, 0, 2, 21};
    m_View.addresses[ControlId::NetmaskField] = {255, 255, 255, 0};
    m_View.addresses[ControlId::GatewayField] = {192, 0, 2, 0};
    m_View.partlyFilled.insert(ControlId::GatewayField);
    m_Controller.OnSubmit();
    EXPECT_FALSE(m_Fake.lastSet);
    EXPECT_EQ(m_View.messages.back().second,
              u"Please enter all four numbers of the address, or leave the field empty.");
    EXPECT_EQ(m_View.focused, ControlId::GatewayField);
}

TEST_F(DialogControllerTest, AColumnClickSortsTheRowsThroughTheView) {
    Open();
    m_Controller.OnColumnClick(1);
    EXPECT_EQ(m_Fake.calls, Calls{"view:ReorderRows"});
    EXPECT_EQ(RowNamed(u"Lobby"), 0); // greatest name on top first
    m_Controller.OnColumnClick(1);
    EXPECT_EQ(RowNamed(u"Gate"), 0);
}

TEST_F(DialogControllerTest, KeyboardAndRightPressLoadARowOnceAndNotWhileSearching) {
    Open();
    const LogCapture log;
    const int gate = RowNamed(u"Gate");
    m_Controller.OnRowChosen(gate);
    m_Controller.OnRowChosen(gate);
    EXPECT_EQ(log.ProgramText(), "CIpEditDlg::OnClickDevList : 2\n");
    EXPECT_FALSE(m_Controller.OnRightPressRow(-1));
    EXPECT_TRUE(m_Controller.OnRightPressRow(RowNamed(u"Lobby")));
    EXPECT_EQ(m_View.currentRow, RowNamed(u"Lobby"));
    EXPECT_EQ(m_View.texts[ControlId::NameField], u"Lobby");

    m_Controller.OnSearch();
    EXPECT_FALSE(m_Controller.OnRightPressRow(gate));
    m_Controller.OnRowChosen(gate);
    EXPECT_FALSE(m_Controller.ContextMenu().assignEnabled);
    EXPECT_FALSE(m_Controller.ContextMenu().exportEnabled);
    EXPECT_EQ(log.ProgramText(),
              "CIpEditDlg::OnClickDevList : 2\nCIpEditDlg::OnClickDevList : 1\n");
}

TEST_F(DialogControllerTest, ClosingDuringASearchWaitsForItThenDeinitsOnce) {
    Open();
    m_Controller.OnSearch();
    const LogCapture log;
    m_Controller.OnCancel();
    m_Controller.OnCancel();
    EXPECT_EQ(m_Fake.calls,
              (Calls{"setIPSearch(0,)", "view:RunInBackground", "view:StopBackgroundWork",
                     "search(1500)", "view:CloseAssignDialog", "deinit()", "view:EndDialog"}));
    EXPECT_EQ(log.ProgramText(), "CIpEditDlg::OnCancel() begin\nCIpEditDlg::OnCancel() end\n");
    EXPECT_FALSE(m_View.BackgroundWorkPending());
    m_Controller.OnSearch();
    EXPECT_EQ(m_Fake.calls.back(), "view:EndDialog");
}

TEST_F(DialogControllerTest, AssigningTakesTheSelectedRowsTopToBottomAndBlocksSearches) {
    Open();
    m_View.selectedRows = {1, 0};
    m_Controller.OnAssignAddresses();
    ASSERT_TRUE(m_View.assignSite);
    EXPECT_EQ(m_View.assignSite->found.size(), 2U);
    EXPECT_EQ(m_View.assignSite->selected, (std::vector<MacBytes>{Lobby().mac, Gate().mac}));
    m_Controller.OnSearch();
    m_Controller.OnAssignAddresses();
    m_Controller.OnAssignClosed(false);
    EXPECT_EQ(m_Fake.calls, Calls{"view:OpenAssignDialog"});
    // Applied: the addresses changed, so the list is searched again.
    m_Controller.OnAssignAddresses();
    m_Controller.OnAssignClosed(true);
    EXPECT_EQ(m_Fake.calls.back(), "view:RunInBackground");
    ASSERT_TRUE(m_View.FinishBackgroundWork());

    // Closing during a batch waits for it before the library goes away.
    m_Controller.OnAssignAddresses();
    m_Fake.calls.clear();
    m_Controller.OnCancel();
    EXPECT_EQ(m_Fake.calls, (Calls{"view:StopBackgroundWork", "view:CloseAssignDialog", "deinit()",
                                   "view:EndDialog"}));
}

TEST_F(DialogControllerTest, ExportWritesTheRowsAsShownAndReportsAFailedWrite) {
    Open();
    m_Controller.OnColumnClick(1);
    m_Controller.OnColumnClick(1); // no longer the library's order
    m_View.saveChoice = SaveChoice{"/export/devices", 1};
    m_Controller.OnExportList();
    EXPECT_EQ(m_View.offeredFilters,
              (std::vector<std::u16string>{u"CSV (*.csv)", u"JSON (*.json)"}));
    ASSERT_TRUE(m_View.files.contains("/export/devices.json"));
    const nlohmann::json devices =
        nlohmann::json::parse(m_View.files["/export/devices.json"]).at("devices");
    ASSERT_EQ(devices.size(), 2U);
    EXPECT_EQ(devices[0].at("name"), "Gate");

    // A file name holding a marker of the message stays as it is.
    m_View.saveChoice = SaveChoice{"/export/100%2.csv", 1};
    m_View.unwritable = {"/export/100%2.csv"};
    m_Controller.OnExportList();
    ASSERT_EQ(m_View.messages.size(), 1U);
    EXPECT_EQ(m_View.messages[0].second,
              u"The list could not be written to /export/100%2.csv: denied");
}

// Lobby answers both searches; Door only WS-Discovery; Clash WS-Discovery only, through the
// other interface, with Gate's address.
class WsdRowsTest : public DialogControllerTest {
protected:
    WsdRowsTest() {
        m_Scan.devices = {
            WsdCamera("Lobby", Lobby().ip, "192.0.2.5", {"http://192.0.2.20/onvif"}),
            WsdCamera("Door", {192, 0, 2, 40}, "192.0.2.5",
                      {"soap.udp://192.0.2.40:3702", "http://192.0.2.40:8080/onvif/device"}),
            WsdCamera("Clash", Gate().ip, "198.51.100.1", {})};
        m_Fake.devices[0].localAddress = "192.0.2.5";
    }

    // Searches on the first lan alone.
    void OpenOnFirstInterface() {
        Open();
        m_View.chosenInterface = 1;
        m_Controller.OnSearch();
        ASSERT_TRUE(m_View.FinishBackgroundWork());
    }
};

TEST_F(WsdRowsTest, CamerasFoundByWsDiscoveryAloneGetMarkedRowsThatTheChecksSee) {
    OpenOnFirstInterface();
    EXPECT_EQ(m_Scan.startedOn,
              (std::vector<std::vector<std::string>>{{}, {"192.0.2.5"}})); // all, then the chosen
    const auto& rows = m_Controller.Devices().Rows();
    ASSERT_EQ(rows.size(), 4U); // Lobby once
    const int door = RowNamed(u"Door [WS-Discovery]");
    const int clash = RowNamed(u"Clash [WS-Discovery]");
    ASSERT_GE(door, 0);
    ASSERT_GE(clash, 0);
    EXPECT_EQ(rows[static_cast<std::size_t>(door)][2], u"192.000.002.040");
    EXPECT_EQ(m_Controller.Devices().DeviceNumber(static_cast<std::size_t>(door)), 0);
    ASSERT_EQ(m_View.findings.size(), 4U);
    EXPECT_TRUE(m_View.findings[static_cast<std::size_t>(clash)].error);
    EXPECT_TRUE(m_View.findings[static_cast<std::size_t>(RowNamed(u"Gate"))].error);
    EXPECT_TRUE(
        m_View.findings[static_cast<std::size_t>(clash)].text.starts_with(u"duplicate address"));

    // Sorted by the hidden key both ways, the cameras stay apart from the library's devices.
    m_Controller.OnColumnClick(0);
    EXPECT_EQ(RowNamed(u"Clash [WS-Discovery]"), 0);
    m_Controller.OnColumnClick(0);
    EXPECT_EQ(RowNamed(u"Lobby"), 0);
    EXPECT_EQ(RowNamed(u"Door [WS-Discovery]"), 2);

    // Exported with what they told; never planned by the assign dialog, their addresses held.
    const nlohmann::json exported = ExportedDevices();
    ASSERT_EQ(exported.size(), 4U);
    EXPECT_EQ(exported[2].at("name"), "Door");
    EXPECT_EQ(exported[2].at("xaddrs"),
              "soap.udp://192.0.2.40:3702 http://192.0.2.40:8080/onvif/device");
    m_View.selectedRows = {static_cast<std::size_t>(RowNamed(u"Door [WS-Discovery]"))};
    m_Controller.OnAssignAddresses();
    ASSERT_TRUE(m_View.assignSite);
    EXPECT_EQ(m_View.assignSite->found.size(), 4U);
    EXPECT_TRUE(m_View.assignSite->selected.empty());
    EXPECT_EQ(ChosenDevices(*m_View.assignSite, AssignChoice::All).size(), 2U);
}

TEST_F(WsdRowsTest, ACameraIsShownReadOnlyAndOpensItsOwnPageWithoutLibraryCalls) {
    OpenOnFirstInterface();
    m_Fake.calls.clear();
    const LogCapture log;
    const int door = RowNamed(u"Door [WS-Discovery]");
    m_Controller.OnRowChosen(door);
    EXPECT_EQ(m_View.texts[ControlId::NameField], u"Door");
    EXPECT_EQ(m_View.addresses[ControlId::IpField], (Ipv4Octets{192, 0, 2, 40}));
    EXPECT_EQ(m_View.texts[ControlId::PortField], u"8080");
    EXPECT_FALSE(m_View.texts.contains(ControlId::MacField));
    EXPECT_FALSE(m_View.addresses.contains(ControlId::GatewayField));
    for (const ControlId control :
         {ControlId::NameField, ControlId::IpField, ControlId::Dns1Field, ControlId::PortField,
          ControlId::DhcpRadio, ControlId::SubmitButton}) {
        EXPECT_TRUE(Disabled(control)) << static_cast<int>(control);
    }
    // Its device service may read it: credentials and Read instead of the web page line.
    EXPECT_TRUE(Hidden(ControlId::WsdNotice));
    for (const ControlId control :
         {ControlId::UserNameField, ControlId::PasswordField, ControlId::ReadButton}) {
        EXPECT_FALSE(Hidden(control)) << static_cast<int>(control);
        EXPECT_FALSE(Disabled(control)) << static_cast<int>(control);
    }
    m_Controller.OnSubmit();
    EXPECT_FALSE(m_Fake.lastSet);
    EXPECT_FALSE(m_View.BackgroundWorkPending());

    // One without a device service changes on its web page alone.
    m_Controller.OnClickRow(RowNamed(u"Clash [WS-Discovery]"));
    EXPECT_FALSE(Hidden(ControlId::WsdNotice));
    EXPECT_EQ(m_View.texts[ControlId::WsdNotice],
              u"Settings of this camera change on its own web page.");
    EXPECT_TRUE(Hidden(ControlId::ReadButton));
    EXPECT_TRUE(Hidden(ControlId::PasswordField));
    m_Controller.OnReadCamera();
    EXPECT_FALSE(m_View.BackgroundWorkPending());

    m_Controller.OnClickRow(door);
    m_Controller.OnDoubleClickRow(door);
    EXPECT_EQ(m_View.openedUrls, (std::vector<std::string>{"http://192.0.2.40:8080/"}));
    EXPECT_EQ(m_Fake.calls, Calls{});
    EXPECT_EQ(log.ProgramText(), "");

    // The library's device after it is editable again, and the line goes.
    m_Controller.OnClickRow(RowNamed(u"Lobby"));
    EXPECT_FALSE(Disabled(ControlId::NameField));
    EXPECT_FALSE(Disabled(ControlId::IpField));
    EXPECT_FALSE(Disabled(ControlId::SubmitButton));
    EXPECT_TRUE(Hidden(ControlId::WsdNotice));
    EXPECT_EQ(m_View.texts[ControlId::MacField], u"00:11:22:33:44:55");
}

// A camera on its factory address, off every subnet of the host, answers both searches through
// the first lan: one row, exported with both protocols and its endpoint.
TEST_F(DialogControllerTest, AnOffSubnetCameraAnsweringBothSearchesIsOneRowExportedWhole) {
    FakeDevice factory = Lobby();
    factory.name = "Factory cam";
    factory.ip = {192, 168, 0, 100};
    factory.localAddress = "192.0.2.5";
    m_Fake.devices = {factory, Gate()};
    m_Scan.devices = {WsdCamera("Factory cam", factory.ip, "192.0.2.5", {})};
    Open();
    EXPECT_EQ(m_Controller.Devices().Rows().size(), 2U);
    EXPECT_EQ(RowNamed(u"Factory cam [WS-Discovery]"), -1);

    const nlohmann::json exported = ExportedDevices();
    ASSERT_EQ(exported.size(), 2U);
    EXPECT_EQ(exported[0].at("protocols"), "4022,3702");
    EXPECT_EQ(exported[0].at("endpoint"), "urn:uuid:Factory cam");
    EXPECT_EQ(exported[1].at("protocols"), "32970");
}

// The camera's answer to the search after a submit may still tell its old name and address:
// that is the device just changed, not a second one.
TEST_F(WsdRowsTest, AnAnswerFromBeforeASubmitMakesNoSecondRowOfTheChangedDevice) {
    Open();
    m_Fake.setsChangeDevices = true;
    m_Controller.OnClickRow(RowNamed(u"Lobby"));
    m_View.texts[ControlId::NameField] = u"Front door";
    m_View.addresses[ControlId::IpField] = {192, 0, 2, 21};
    m_Controller.OnSubmit();
    ASSERT_TRUE(m_View.FinishBackgroundWork());
    ASSERT_GE(RowNamed(u"Front door"), 0);
    EXPECT_EQ(RowNamed(u"Lobby [WS-Discovery]"), -1);
    EXPECT_GE(RowNamed(u"Door [WS-Discovery]"), 0);

    // Its answer as it is now joins it again.
    m_Scan.devices[0].ip = {192, 0, 2, 21};
    m_Controller.OnSearch();
    ASSERT_TRUE(m_View.FinishBackgroundWork());
    EXPECT_EQ(m_Controller.Devices().Rows().size(), 4U);
    EXPECT_EQ(RowNamed(u"Lobby [WS-Discovery]"), -1);
}

TEST_F(WsdRowsTest, AnUnknownAddressIsSharedWithNoneAndAPageOnAnotherHostStaysClosed) {
    m_Scan.devices.push_back(WsdCamera("Named 1", {}, "192.0.2.5", {"http://cam-1.example/"}));
    m_Scan.devices.push_back(WsdCamera("Named 2", {}, "192.0.2.5", {"http://cam-2.example/"}));
    m_Scan.devices.push_back(WsdCamera("Lure", {192, 0, 2, 52}, "192.0.2.5",
                                       {"soap.udp://192.0.2.52:3702", "http://evil.example/x"}));
    m_Scan.devices.push_back(
        WsdCamera("Loop", {127, 0, 0, 6}, "192.0.2.5", {"http://127.0.0.6/onvif"}));
    OpenOnFirstInterface();
    const auto named = static_cast<std::size_t>(RowNamed(u"Named 1 [WS-Discovery]"));
    EXPECT_EQ(m_Controller.Devices().Rows()[named][2], u"-");
    EXPECT_FALSE(m_View.findings[named].error);

    m_View.messages.clear();
    m_Controller.OnDoubleClickRow(RowNamed(u"Lure [WS-Discovery]"));
    EXPECT_TRUE(m_View.openedUrls.empty());
    ASSERT_EQ(m_View.messages.size(), 1U);
    EXPECT_NE(m_View.messages[0].second.find(u"evil.example"), std::u16string::npos);

    m_View.messages.clear();
    m_Controller.OnDoubleClickRow(RowNamed(u"Loop [WS-Discovery]"));
    EXPECT_TRUE(m_View.openedUrls.empty());
    ASSERT_EQ(m_View.messages.size(), 1U);
    EXPECT_EQ(m_View.messages[0].second,
              u"address 127.0.0.6 is a loopback address, which no device can use");
}

} // namespace
} // namespace kestrun::test
