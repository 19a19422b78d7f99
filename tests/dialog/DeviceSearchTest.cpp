#include "DeviceSearch.h"
#include "FakeLibrary.h"
#include "LocalAddressReader.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

namespace kestrun::test {
namespace {

FakeDevice Device(std::string name, Ipv4Octets ip, bool missing = false) {
    FakeDevice device;
    device.name = std::move(name);
    device.ip = ip;
    device.missing = missing;
    return device;
}

class DeviceSearchTest : public testing::Test {
protected:
    DeviceSearchTest() { m_Fake.localAddresses = {"192.0.2.1", "198.51.100.1"}; }

    // One press of the search button, as the dialog runs it.
    void PressSearch() {
        if (!m_Search.ChooseInterface()) {
            m_Search.RefillAfterRefusal();
            return;
        }
        m_Search.ListDevices(m_Search.RunSearch());
    }

    FakeLibrary m_Fake;
    LibraryApi m_Api = m_Fake.Api();
    UiTextTable m_Texts;
    InterfaceChoice m_Choice;
    DeviceList m_Devices;
    DeviceSearch m_Search{m_Api, m_Texts, m_Choice, m_Devices};
};

TEST_F(DeviceSearchTest, FirstSearchUsesEveryInterfaceAndLeavesNothingSelected) {
    PressSearch();
    EXPECT_EQ(m_Fake.calls, (std::vector<std::string>{"setIPSearch(0,)", "search(1500)"}));
    EXPECT_EQ(m_Choice.Entries(),
              (std::vector<std::u16string>{u"Select All", u"192.0.2.1", u"198.51.100.1"}));
    EXPECT_EQ(m_Choice.Selected(), -1);
}

TEST_F(DeviceSearchTest, AChosenAddressIsSearchedAloneAndSelectedAgain) {
    PressSearch();
    m_Choice.Select(2);
    m_Fake.calls.clear();
    PressSearch();
    EXPECT_EQ(m_Fake.calls,
              (std::vector<std::string>{"setIPSearch(1,198.51.100.1)", "search(1500)"}));
    EXPECT_EQ(m_Choice.Selected(), 2);

    // The host lists its addresses in another order now: the same address is found again.
    m_Fake.localAddresses = {"198.51.100.1", "192.0.2.1"};
    PressSearch();
    EXPECT_EQ(m_Choice.SelectedText(), u"198.51.100.1");
    EXPECT_EQ(m_Choice.Selected(), 1);
}

TEST_F(DeviceSearchTest, SelectAllSearchesEveryInterfaceAndStaysSelected) {
    PressSearch();
    m_Choice.Select(0);
    m_Fake.calls.clear();
    PressSearch();
    EXPECT_EQ(m_Fake.calls, (std::vector<std::string>{"setIPSearch(0,)", "search(1500)"}));
    EXPECT_EQ(m_Choice.Selected(), 0);
}

TEST_F(DeviceSearchTest, AVanishedInterfaceRunsNoSearchAndTheNextPressSearchesAll) {
    m_Fake.devices = {Device("kept", {192, 0, 2, 20})};
    PressSearch();
    ASSERT_EQ(m_Devices.Rows().size(), 1u);
    m_Choice.Select(1);
    m_Fake.addressesAtNextSetIPSearch = std::vector<std::string>{"203.0.113.7"};
    m_Fake.calls.clear();

    EXPECT_FALSE(m_Search.ChooseInterface());
    m_Search.RefillAfterRefusal();
    EXPECT_EQ(m_Fake.calls, (std::vector<std::string>{"setIPSearch(1,192.0.2.1)"}));
    EXPECT_EQ(m_Choice.Entries(), (std::vector<std::u16string>{u"Select All", u"203.0.113.7"}));
    EXPECT_EQ(m_Choice.Selected(), -1);
    EXPECT_EQ(m_Devices.Rows().size(), 1u);

    m_Fake.calls.clear();
    PressSearch();
    EXPECT_EQ(m_Fake.calls, (std::vector<std::string>{"setIPSearch(0,)", "search(1500)"}));
}

TEST_F(DeviceSearchTest, DevicesThatAQueryMissesLeaveGapsInTheNumbers) {
    m_Fake.devices = {
        Device("first", {10, 0, 0, 1}),
        Device("hidden", {10, 0, 0, 2}, true),
        Device("third", {192, 168, 1, 9}),
        Device("fourth", {192, 168, 1, 10}),
    };
    PressSearch();
    ASSERT_EQ(m_Devices.Rows().size(), 3u);
    EXPECT_EQ(m_Devices.Rows()[0], (DeviceList::Row{u"1", u"first", u"010.000.000.001"}));
    EXPECT_EQ(m_Devices.Rows()[1], (DeviceList::Row{u"3", u"third", u"192.168.001.009"}));
    EXPECT_EQ(m_Devices.Rows()[2], (DeviceList::Row{u"4", u"fourth", u"192.168.001.010"}));
}

TEST_F(DeviceSearchTest, AFailedSearchKeepsTheRowsAndIsLogged) {
    LogCapture log;
    m_Fake.devices = {Device("cam", {10, 0, 0, 1})};
    PressSearch();
    m_Fake.devices.clear();
    m_Fake.searchSucceeds = false;
    PressSearch();
    EXPECT_EQ(m_Devices.Rows().size(), 1u);
    EXPECT_EQ(log.ProgramText(), "CIpEditDlg::OnSearch() failed\n");
}

TEST_F(DeviceSearchTest, ASearchFindingNothingEmptiesTheList) {
    m_Fake.devices = {Device("cam", {10, 0, 0, 1})};
    PressSearch();
    m_Fake.devices.clear();
    PressSearch();
    EXPECT_TRUE(m_Devices.Rows().empty());
}

// The local address each device was found through, as the command line and the merge learn it:
// one that both addresses' filters show (on a subnet of each) was found through either, so none.
TEST_F(DeviceSearchTest, TheLocalAddressIsTheOneWhoseFilterAloneShowsTheDevice) {
    m_Fake.devices = {Device("first", {192, 0, 2, 20}), Device("both", {192, 0, 2, 21}),
                      Device("second", {198, 51, 100, 20}), Device("gone", {192, 0, 2, 22}, true)};
    m_Fake.devices[0].localAddress = "192.0.2.1";
    m_Fake.devices[2].localAddress = "198.51.100.1";
    const std::vector<std::optional<std::string>> local = vanmoor::listing::ReadLocalAddresses(
        {m_Api.setIPSearch, m_Api.getIPcount, m_Api.getIPinfo, m_Api.getMacString}, 4,
        "198.51.100.1");
    EXPECT_EQ(local, (std::vector<std::optional<std::string>>{"192.0.2.1", std::nullopt,
                                                              "198.51.100.1", std::nullopt}));
    EXPECT_EQ(m_Fake.filter, "198.51.100.1"); // left as it was
}

} // namespace
} // namespace kestrun::test
