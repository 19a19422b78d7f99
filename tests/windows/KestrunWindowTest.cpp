// The Windows window of Kestrun with the fake library, driven by window messages as the user's
// clicks and typing send them; what the library was asked and what the controls show.
#include "AssignDialogOf.h"
#include "FakeLibrary.h"
#include "FakeWsdScan.h"
#include "IpEditWindow.h"
#include "LogCapture.h"
#include "TempDirectory.h"
#include "WholeFile.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kestrun::test {
namespace {

using Calls = std::vector<std::string>;

FakeDevice Device(std::string name, Ipv4Octets ip, MacBytes mac, int port) {
    return FakeDevice{.name = std::move(name),
                      .ip = ip,
                      .netmask = {255, 255, 255, 0},
                      .gateway = {ip[0], ip[1], ip[2], 1},
                      .mac = mac,
                      .port = port};
}

class KestrunWindowTest : public testing::Test {
protected:
    KestrunWindowTest() {
        // Documentation addresses, which no host running the test owns.
        m_Fake.localAddresses = {"192.0.2.5", "198.51.100.1"};
        m_Fake.devices = {
            Device("Lobby", {192, 0, 2, 20}, {0x00, 0x11, 0x22, 0x33, 0x44, 0xaa}, 80),
            Device("Gate", {198, 51, 100, 7}, {0x0a, 0xbb, 0xcc, 0, 1, 2}, 8080)};
    }

    // Makes the window and lets its first search end.
    void Open() {
        win32::DesktopActions actions;
        actions.showMessage = [this](HWND, MessageIcon, const std::u16string& text) {
            m_Messages.push_back(text);
        };
        actions.chooseSaveFile = [this](HWND, const std::u16string&,
                                        const std::vector<std::u16string>&, std::size_t) {
            return m_SavePath ? std::optional<SaveChoice>(SaveChoice{*m_SavePath, 0})
                              : std::optional<SaveChoice>();
        };
        actions.openUrl = [this](const std::string& address) { m_Urls.push_back(address); };
        m_Window = std::make_unique<win32::IpEditWindow>(m_Fake.Api(), GetModuleHandleW(nullptr),
                                                         std::move(actions), std::move(m_WsdScan));
        ASSERT_TRUE(m_Window->Create());
        ASSERT_TRUE(PumpUntilSearched());
    }

    HWND Item(ControlId id) const { return GetDlgItem(m_Window->Handle(), static_cast<int>(id)); }

    // Handles the window's messages until the search button is usable again.
    bool PumpUntilSearched() {
        return PumpUntil([this] { return IsWindowEnabled(Item(ControlId::SearchButton)) != 0; });
    }

    template <typename Done> bool PumpUntil(Done done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            Pump();
            if (done()) {
                return true;
            }
            Sleep(5);
        }
        return false;
    }

    void Pump() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
            if (m_Window->Handle() == nullptr || !IsDialogMessageW(m_Window->Handle(), &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }

    std::wstring Text(HWND control) const {
        wchar_t text[256] = {};
        SendMessageW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
        return text;
    }

    std::wstring Cell(int row, int column) const {
        return ListCell(Item(ControlId::DeviceList), row, column);
    }

    // The name cell without the error marker.
    std::wstring Name(int row) const {
        const std::wstring cell = Cell(row, 1);
        const std::wstring marker = win32::DeviceListView::kErrorMarker;
        return cell.starts_with(marker) ? cell.substr(marker.size()) : cell;
    }

    // The tool tip the window gives for a row.
    std::wstring Tip(int row) const {
        wchar_t text[512] = {};
        NMLVGETINFOTIPW tip{};
        tip.hdr = {Item(ControlId::DeviceList), static_cast<UINT_PTR>(ControlId::DeviceList),
                   static_cast<UINT>(LVN_GETINFOTIPW)};
        tip.pszText = text;
        tip.cchTextMax = static_cast<int>(std::size(text));
        tip.iItem = row;
        SendMessageW(m_Window->Handle(), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
        return text;
    }

    int RowNamed(const std::wstring& name) const {
        const int rows = ListView_GetItemCount(Item(ControlId::DeviceList));
        for (int row = 0; row < rows; ++row) {
            if (Name(row) == name) {
                return row;
            }
        }
        return -1;
    }

    // A click on a row: the list marks it, then tells its parent.
    void NotifyList(UINT code, int row) {
        HWND list = Item(ControlId::DeviceList);
        if (row >= 0 && code == NM_CLICK) {
            ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
            ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        }
        NMITEMACTIVATE click{};
        click.hdr = {list, static_cast<UINT_PTR>(ControlId::DeviceList), code};
        click.iItem = row;
        click.iSubItem = 1;
        SendMessageW(m_Window->Handle(), WM_NOTIFY, click.hdr.idFrom,
                     reinterpret_cast<LPARAM>(&click));
        Pump();
    }

    void ClickColumn(int column) {
        NMLISTVIEW click{};
        click.hdr = {Item(ControlId::DeviceList), static_cast<UINT_PTR>(ControlId::DeviceList),
                     static_cast<UINT>(LVN_COLUMNCLICK)};
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageW(m_Window->Handle(), WM_NOTIFY, click.hdr.idFrom,
                     reinterpret_cast<LPARAM>(&click));
    }

    // The assign dialog the window owns; null when none is open.
    HWND AssignDialog() const { return AssignDialogOf(m_Window->Handle()); }

    static std::wstring ListCell(HWND list, int row, int column) {
        wchar_t text[256] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = static_cast<int>(std::size(text));
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return text;
    }

    // A key pressed and let go in the control that has the focus, through the window's own
    // message handling, as the keyboard sends it.
    void Press(WPARAM key) {
        HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
        Pump();
    }

    void Type(const std::wstring& text) {
        for (const wchar_t unit : text) {
            PostMessageW(GetFocus(), WM_CHAR, unit, 1);
            Pump();
        }
    }

    bool IsChecked(ControlId radio) const {
        return SendMessageW(Item(radio), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    // The dialog's control that has the focus, or holds it in a box of its own.
    int Focused() const {
        HWND focus = GetFocus();
        while (focus != nullptr && GetParent(focus) != m_Window->Handle()) {
            focus = GetParent(focus);
        }
        return focus != nullptr ? GetDlgCtrlID(focus) : 0;
    }

    DWORD Address(ControlId field) const {
        DWORD address = 0;
        SendMessageW(Item(field), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
        return address;
    }

    const LogCapture m_Log; // before the window: the library's log stays out of the user's
    FakeLibrary m_Fake;
    std::unique_ptr<win32::IpEditWindow> m_Window;
    std::vector<std::u16string> m_Messages;
    std::vector<std::string> m_Urls;
    // What the save dialog answers; none: cancelled.
    std::optional<std::string> m_SavePath;
    // The WS-Discovery scan the window gets, if any.
    std::unique_ptr<FakeWsdScan> m_WsdScan;
};

TEST_F(KestrunWindowTest, StartListsTheDevicesAndHidesWhatIsNotInUse) {
    Open();
    EXPECT_EQ(m_Fake.calls,
              (Calls{"init()", "setIPSearch(0,)", "setIPSearch(0,)", "search(1500)"}));
    HWND list = Item(ControlId::DeviceList);
    ASSERT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_EQ(Cell(0, 0), L"1");
    EXPECT_EQ(Name(0), L"Lobby");
    EXPECT_EQ(Cell(1, 2), L"198.051.100.007");
    RECT outer{};
    GetWindowRect(list, &outer);
    const int width = outer.right - outer.left;
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 0);
    // The columns' pixel offsets hold at 96 DPI and grow with the screen's.
    const UINT dpi = GetDpiForWindow(list);
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), width / 2 + MulDiv(22, dpi, 96));
    EXPECT_EQ(ListView_GetColumnWidth(list, 2), width / 2 - MulDiv(28, dpi, 96));

    HWND choice = Item(ControlId::InterfaceChoice);
    ASSERT_EQ(SendMessageW(choice, CB_GETCOUNT, 0, 0), 3);
    wchar_t entry[64] = {};
    SendMessageW(choice, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"198.51.100.1");
    EXPECT_EQ(SendMessageW(choice, CB_GETCURSEL, 0, 0), CB_ERR);
    for (ControlId hidden : {ControlId::StaticRadio, ControlId::DhcpRadio, ControlId::UserNameField,
                             ControlId::PasswordLabel, ControlId::ProgressLabel}) {
        EXPECT_FALSE(IsWindowVisible(Item(hidden))) << static_cast<int>(hidden);
    }
    EXPECT_EQ(Text(Item(ControlId::PortField)), L"");
    EXPECT_EQ(Text(m_Window->Handle()), L"Kestrun V2.18");
}

TEST_F(KestrunWindowTest, TheTemplateMakesTheControlsInTheLayoutsTabOrderWhereItPlacesThem) {
    Open();
    HWND dialog = m_Window->Handle();
    std::vector<int> order;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        order.push_back(GetDlgCtrlID(child));
    }
    // The layout's order: list, interface choice, the fields top to bottom, Submit, search, Exit.
    EXPECT_EQ(order,
              (std::vector<int>{1035, 1031, 1054, 1027, 1028, 1036, 1019, 1037, 1001, 1038, 1023,
                                1039, 1014, 1040, 1024, 1041, 1025, 1042, 1020, 1043, 1017, 1045,
                                1021, 1046, 1022, 1057, 1006, 1050, 1055, 1033, 2,    1056, 1058}));
    // The list at 7, 19 and 205 by 212 dialog units, in the dialog's client area.
    RECT expected{7, 19, 7 + 205, 19 + 212};
    MapDialogRect(dialog, &expected);
    RECT list{};
    GetWindowRect(Item(ControlId::DeviceList), &list);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(list.left, expected.left);
    EXPECT_EQ(list.top, expected.top);
    EXPECT_EQ(list.right, expected.right);
    EXPECT_EQ(list.bottom, expected.bottom);

    HMENU menu = GetSystemMenu(dialog, FALSE);
    const int entries = GetMenuItemCount(menu);
    wchar_t about[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(entries - 1), about, 64, MF_BYPOSITION);
    EXPECT_STREQ(about, L"About Kestrun(&A)...");
    EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(entries - 2), MF_BYPOSITION) & MF_SEPARATOR,
              static_cast<UINT>(MF_SEPARATOR));
}

// Run at 96 DPI and again at 192 (VANMOOR_TEST_DPI says which the screen was set to): the
// controls stay inside the window and the texts the window sizes itself grow with the screen.
TEST_F(KestrunWindowTest, TheLayoutScalesWithTheScreensDpi) {
    Open();
    HWND dialog = m_Window->Handle();
    const UINT dpi = GetDpiForWindow(dialog);
    if (const char* asked = std::getenv("VANMOOR_TEST_DPI")) {
        ASSERT_EQ(dpi, static_cast<UINT>(std::atoi(asked)));
    }
    RECT client{};
    GetClientRect(dialog, &client);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= client.right &&
                    place.bottom <= client.bottom)
            << GetDlgCtrlID(child);
    }
    // The dialog font, and with it every dialog unit, follows the screen.
    RECT unit{0, 0, 4, 8};
    MapDialogRect(dialog, &unit);
    EXPECT_GE(unit.bottom, MulDiv(11, dpi, 96));
    // The list's rows and the interface choice use fonts 16 pixels high at 96 DPI.
    RECT row{};
    ListView_GetItemRect(Item(ControlId::DeviceList), 0, &row, LVIR_BOUNDS);
    EXPECT_GE(row.bottom - row.top, MulDiv(16, dpi, 96));
    RECT choice{};
    GetWindowRect(Item(ControlId::InterfaceChoice), &choice);
    EXPECT_GE(choice.bottom - choice.top, MulDiv(18, dpi, 96));
}

TEST_F(KestrunWindowTest, TheSearchRunsOffTheWindowWithTheControlsThatStartWorkDisabled) {
    Open();
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> entered;
    m_Fake.duringSearch = [&entered, released] {
        entered.set_value();
        released.wait();
    };
    // Chosen in the drop-down, as the user picks the interface.
    SendMessageW(Item(ControlId::InterfaceChoice), CB_SETCURSEL, 2, 0);
    SendMessageW(Item(ControlId::SearchButton), BM_CLICK, 0, 0);
    entered.get_future().wait();
    Pump(); // the window answers while the library searches
    EXPECT_FALSE(IsWindowEnabled(Item(ControlId::SearchButton)));
    EXPECT_FALSE(IsWindowEnabled(Item(ControlId::SubmitButton)));
    EXPECT_FALSE(IsWindowEnabled(Item(ControlId::DeviceList)));
    EXPECT_TRUE(IsWindowVisible(Item(ControlId::ProgressLabel)));
    EXPECT_EQ(Text(Item(ControlId::ProgressLabel)), L"Searching.....");
    release.set_value();
    ASSERT_TRUE(PumpUntilSearched());
    EXPECT_TRUE(IsWindowEnabled(Item(ControlId::DeviceList)));
    EXPECT_FALSE(IsWindowVisible(Item(ControlId::ProgressLabel)));
    EXPECT_EQ(m_Fake.calls[m_Fake.calls.size() - 2], "setIPSearch(1,198.51.100.1)");
    EXPECT_EQ(SendMessageW(Item(ControlId::InterfaceChoice), CB_GETCURSEL, 0, 0), 2);
}

TEST_F(KestrunWindowTest, AClickLoadsTheDeviceAndSubmitSendsWhatTheFieldsHold) {
    m_Fake.setsChangeDevices = true;
    Open();
    ClickColumn(1); // names from last to first: the rows are no longer in library order
    ASSERT_EQ(RowNamed(L"Lobby"), 0);
    NotifyList(NM_CLICK, RowNamed(L"Lobby"));
    EXPECT_EQ(Text(Item(ControlId::NameField)), L"Lobby");
    EXPECT_EQ(Address(ControlId::IpField), MAKEIPADDRESS(192, 0, 2, 20));
    EXPECT_EQ(Address(ControlId::GatewayField), MAKEIPADDRESS(192, 0, 2, 1));
    EXPECT_EQ(Text(Item(ControlId::PortField)), L"80");
    EXPECT_EQ(Text(Item(ControlId::MacField)), L"00:11:22:33:44:AA");
    EXPECT_TRUE(IsWindowVisible(Item(ControlId::StaticRadio)));

    SendMessageW(Item(ControlId::IpField), IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 0, 2, 21));
    SendMessageW(Item(ControlId::NameField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Hall"));
    m_Fake.calls.clear();
    SendMessageW(Item(ControlId::SubmitButton), BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntilSearched());
    ASSERT_TRUE(m_Fake.lastSet);
    EXPECT_EQ(std::string(m_Fake.lastSet->name, strnlen(m_Fake.lastSet->name, 18)), "Hall");
    EXPECT_EQ(m_Fake.lastSet->IP[3], 21);
    EXPECT_EQ(m_Fake.lastSet->port, 80);
    EXPECT_EQ(m_Fake.calls, (Calls{"set()", "setIPSearch(0,)", "search(1500)"}));
    // Searched again: the list shows the device as it answers now.
    EXPECT_GE(RowNamed(L"Hall"), 0);
    EXPECT_EQ(m_Messages.size(), 1U);
}

// Tab from the list through every control once, in the order of the layout; on the way a
// device is switched to DHCP and back with the arrow keys, which never leave the two buttons,
// and edited; Enter in a field sends it, and Exit is not the default button.
TEST_F(KestrunWindowTest, TheKeyboardAloneWalksTheWholeEditAndEnterInAFieldSubmits) {
    m_Fake.setsChangeDevices = true;
    Open();
    SetForegroundWindow(m_Window->Handle());
    SendMessageW(m_Window->Handle(), WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(Item(ControlId::DeviceList)), TRUE);
    ASSERT_EQ(Focused(), static_cast<int>(ControlId::DeviceList));
    Press(VK_DOWN);
    ASSERT_EQ(Text(Item(ControlId::MacField)), L"00:11:22:33:44:AA");

    std::vector<int> order;
    do {
        Press(VK_TAB);
        order.push_back(Focused());
        switch (static_cast<ControlId>(order.back())) {
        case ControlId::StaticRadio:
            Press(VK_RIGHT);
            EXPECT_TRUE(IsChecked(ControlId::DhcpRadio));
            EXPECT_FALSE(IsWindowEnabled(Item(ControlId::IpField)));
            Press(VK_RIGHT);
            Press(VK_LEFT);
            Press(VK_UP);
            EXPECT_EQ(Focused(), static_cast<int>(ControlId::StaticRadio));
            EXPECT_TRUE(IsChecked(ControlId::StaticRadio));
            EXPECT_TRUE(IsWindowEnabled(Item(ControlId::IpField)));
            break;
        case ControlId::NameField:
            Type(L"Hall");
            break;
        case ControlId::IpField:
            Type(L"192.0.2.21");
            break;
        default:
            break;
        }
    } while (order.back() != static_cast<int>(ControlId::DeviceList) && order.size() < 40);
    EXPECT_EQ(order, (std::vector<int>{1054, 1027, 1019, 1001, 1023, 1014, 1024, 1025, 1020, 1017,
                                       1006, 1050, 2, 1031}));
    // Still the device the walk began with.
    EXPECT_EQ(Text(Item(ControlId::MacField)), L"00:11:22:33:44:AA");

    const LRESULT defaultButton = SendMessageW(m_Window->Handle(), DM_GETDEFID, 0, 0);
    EXPECT_EQ(LOWORD(defaultButton), static_cast<WORD>(ControlId::SubmitButton));
    EXPECT_EQ(GetWindowLongW(Item(ControlId::Exit), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);
    for (int tab = 0; tab < 3; ++tab) {
        Press(VK_TAB);
    }
    ASSERT_EQ(Focused(), static_cast<int>(ControlId::NameField));
    Press(VK_RETURN);
    ASSERT_NE(m_Window->Handle(), nullptr);
    ASSERT_TRUE(PumpUntilSearched());
    ASSERT_TRUE(m_Fake.lastSet);
    EXPECT_EQ(std::string(m_Fake.lastSet->name, strnlen(m_Fake.lastSet->name, 18)), "Hall");
    EXPECT_EQ(m_Fake.lastSet->IP[3], 21);
    EXPECT_EQ(m_Fake.lastSet->bDHCP, 0);
    EXPECT_EQ(m_Log.ProgramText().find("OnCancel"), std::string::npos);
}

// A gateway typed as "192.0.2." is reported, not sent as 192.0.2.0.
TEST_F(KestrunWindowTest, APartlyFilledAddressIsReportedAndNothingIsSent) {
    Open();
    NotifyList(NM_CLICK, RowNamed(L"Lobby"));
    HWND gateway = Item(ControlId::GatewayField);
    SendMessageW(gateway, IPM_CLEARADDRESS, 0, 0);
    HWND number = nullptr;
    for (const wchar_t* typed : {L"192", L"0", L"2"}) {
        number = FindWindowExW(gateway, number, nullptr, nullptr);
        ASSERT_NE(number, nullptr);
        SetWindowTextW(number, typed);
    }
    SendMessageW(Item(ControlId::SubmitButton), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(m_Fake.lastSet);
    ASSERT_EQ(m_Messages.size(), 1U);
    EXPECT_EQ(m_Messages[0],
              u"Please enter all four numbers of the address, or leave the field empty.");
}

TEST_F(KestrunWindowTest, ARefusedNameSendsNothingAndADoubleClickOpensTheRowsPage) {
    Open();
    NotifyList(NM_CLICK, RowNamed(L"Gate"));
    SendMessageW(Item(ControlId::NameField), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"A name of 19 chars."));
    SendMessageW(Item(ControlId::SubmitButton), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(m_Fake.lastSet);
    EXPECT_EQ(m_Messages.size(), 1U);
    // The field is pointed at, its whole text selected.
    DWORD start = 1;
    DWORD end = 0;
    SendMessageW(Item(ControlId::NameField), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0U);
    EXPECT_EQ(end, 19U);

    NotifyList(NM_DBLCLK, RowNamed(L"Lobby"));
    NotifyList(NM_DBLCLK, -1); // beside the rows: nothing
    EXPECT_EQ(m_Urls, (std::vector<std::string>{"http://192.0.2.20:80"}));
}

TEST_F(KestrunWindowTest, RowsWithAnErrorAreMarkedAndTheFindingStaysWithItsDeviceWhenSorted) {
    m_Fake.devices.push_back(Device("Yard", {192, 0, 2, 20}, {2, 0, 0, 0, 0, 9}, 80));
    Open();
    for (int click = 0; click < 2; ++click) {
        ClickColumn(1);
        ASSERT_EQ(Name(click == 0 ? 0 : 2), L"Yard");
        for (const wchar_t* name : {L"Yard", L"Lobby", L"Gate"}) {
            const int row = RowNamed(name);
            const bool shared = name != std::wstring(L"Gate");
            EXPECT_EQ(Tip(row).find(L"duplicate address") != std::wstring::npos, shared) << name;
            if (shared) {
                EXPECT_TRUE(Cell(row, 1).starts_with(win32::DeviceListView::kErrorMarker));
            }
        }
    }
}

TEST_F(KestrunWindowTest, ASortKeepsTheSelectionAndTheFocusMarkOnTheirDevices) {
    m_Fake.devices.push_back(Device("Yard", {192, 0, 2, 30}, {2, 0, 0, 0, 0, 9}, 80));
    Open();
    HWND list = Item(ControlId::DeviceList);
    const auto selected = [list](int row) {
        return (ListView_GetItemState(list, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    };
    ListView_SetItemState(list, RowNamed(L"Lobby"), LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list, RowNamed(L"Yard"), LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ClickColumn(1);
    ASSERT_EQ(Name(0), L"Yard");
    EXPECT_TRUE(selected(RowNamed(L"Lobby")));
    EXPECT_TRUE(selected(RowNamed(L"Yard")));
    EXPECT_FALSE(selected(RowNamed(L"Gate")));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), RowNamed(L"Yard"));

    // Every row selected, as Ctrl+A selects them.
    ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
    ClickColumn(1);
    ASSERT_EQ(Name(2), L"Yard");
    EXPECT_EQ(ListView_GetSelectedCount(list), 3U);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), RowNamed(L"Yard"));
}

TEST_F(KestrunWindowTest, AWsDiscoveryCameraIsMarkedAndShowsWhyItsFieldsAreLocked) {
    m_WsdScan = std::make_unique<FakeWsdScan>();
    vanmoor::site::SiteDevice camera;
    camera.protocol = vanmoor::site::kWsdProtocol;
    camera.name = "Door";
    camera.ip = {192, 0, 2, 40};
    camera.localAddress = "192.0.2.5";
    camera.wsd.emplace().xaddrs = {"http://192.0.2.40:8000/onvif/device_service"};
    m_WsdScan->devices = {camera};
    Open();
    const int row = RowNamed(L"Door [WS-Discovery]");
    ASSERT_GE(row, 0);
    EXPECT_EQ(Cell(row, 2), L"192.000.002.040");
    EXPECT_FALSE(IsWindowVisible(Item(ControlId::WsdNotice)));
    NotifyList(NM_CLICK, row);
    EXPECT_TRUE(IsWindowVisible(Item(ControlId::WsdNotice)));
    EXPECT_EQ(Text(Item(ControlId::WsdNotice)),
              L"Settings of this camera change on its own web page.");
    EXPECT_FALSE(IsWindowEnabled(Item(ControlId::SubmitButton)));
    EXPECT_FALSE(IsWindowEnabled(Item(ControlId::NameField)));
    NotifyList(NM_DBLCLK, row);
    EXPECT_EQ(m_Urls, (std::vector<std::string>{"http://192.0.2.40:8000/"}));
    NotifyList(NM_CLICK, RowNamed(L"Lobby"));
    EXPECT_FALSE(IsWindowVisible(Item(ControlId::WsdNotice)));
    EXPECT_TRUE(IsWindowEnabled(Item(ControlId::SubmitButton)));
}

TEST_F(KestrunWindowTest, ExitEndsTheLibraryAndTheWindow) {
    Open();
    m_Fake.calls.clear();
    SendMessageW(Item(ControlId::Exit), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(m_Fake.calls, Calls{"deinit()"});
    EXPECT_EQ(m_Window->Handle(), nullptr);
    EXPECT_NE(m_Log.ProgramText().find("CIpEditDlg::OnCancel() end\n"), std::string::npos);
}

TEST_F(KestrunWindowTest, ExportListWritesTheRowsToTheChosenFileOrSaysWhyNot) {
    Open();
    const TempDirectory directory;
    m_SavePath = (directory.Path() / "devices.csv").string();
    SendMessageW(m_Window->Handle(), WM_COMMAND, IDM_EXPORTLIST, 0);
    std::ifstream file(*m_SavePath, std::ios::binary);
    const std::string csv(std::istreambuf_iterator<char>(file), {});
    EXPECT_NE(csv.find("Lobby"), std::string::npos);
    EXPECT_NE(csv.find("Gate"), std::string::npos);
    EXPECT_TRUE(m_Messages.empty());

    m_SavePath = (directory.Path() / "missing" / "devices.csv").string();
    SendMessageW(m_Window->Handle(), WM_COMMAND, IDM_EXPORTLIST, 0);
    EXPECT_EQ(m_Messages.size(), 1U);
}

TEST_F(KestrunWindowTest, AssignPlansFromItsFieldsAppliesOffTheWindowAndSearchesAgainOnClose) {
    m_Fake.setsChangeDevices = true;
    Open();
    SendMessageW(m_Window->Handle(), WM_COMMAND, IDM_ASSIGN, 0);
    HWND dialog = AssignDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), L"Assign addresses");
    EXPECT_FALSE(IsWindowEnabled(m_Window->Handle())); // modal for the main window
    const auto in = [dialog](int id) { return GetDlgItem(dialog, id); };
    // No row selected: the choice is offered; neither device takes credentials.
    EXPECT_TRUE(IsWindowVisible(in(IDC_ASSIGN_CHOICE)));
    EXPECT_FALSE(IsWindowVisible(in(IDC_ASSIGN_USER)));
    EXPECT_FALSE(IsWindowEnabled(in(IDC_ASSIGN_APPLY)));
    EXPECT_EQ(Text(in(IDC_ASSIGN_MESSAGE)), L"Enter the first address and the netmask.");

    // The user picks "all devices", types the addresses and a gateway and allows the move to the
    // other subnet.
    SendMessageW(in(IDC_ASSIGN_CHOICE), CB_SETCURSEL, 2, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ASSIGN_CHOICE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(in(IDC_ASSIGN_CHOICE)));
    SendMessageW(in(IDC_ASSIGN_FIRST), IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 0, 2, 30));
    SendMessageW(in(IDC_ASSIGN_NETMASK), IPM_SETADDRESS, 0, MAKEIPADDRESS(255, 255, 255, 0));
    SendMessageW(in(IDC_ASSIGN_GATEWAY), IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 0, 2, 1));
    SendMessageW(in(IDC_ASSIGN_OTHER_SUBNET), BM_CLICK, 0, 0);
    SendMessageW(in(IDC_ASSIGN_PATTERN), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Cam-{n:02}"));
    HWND table = in(IDC_ASSIGN_TABLE);
    ASSERT_EQ(ListView_GetItemCount(table), 2) << Text(in(IDC_ASSIGN_MESSAGE));
    EXPECT_EQ(Text(in(IDC_ASSIGN_MESSAGE)), L"");
    // In MAC order, as the command line orders them.
    EXPECT_EQ(ListCell(table, 0, 0), L"00:11:22:33:44:AA");
    EXPECT_EQ(ListCell(table, 0, 3), L"192.0.2.30");
    EXPECT_EQ(ListCell(table, 1, 1), L"Gate");
    EXPECT_EQ(ListCell(table, 1, 3), L"192.0.2.31");
    EXPECT_EQ(ListCell(table, 1, 4), L"Cam-02");
    ASSERT_TRUE(IsWindowEnabled(in(IDC_ASSIGN_APPLY)));

    m_Fake.calls.clear();
    SendMessageW(in(IDC_ASSIGN_APPLY), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(in(IDC_ASSIGN_FIRST)));
    EXPECT_TRUE(IsWindowVisible(in(IDC_ASSIGN_PROGRESS)));
    ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(in(IDCANCEL)) != 0; }));
    EXPECT_EQ(std::count(m_Fake.calls.begin(), m_Fake.calls.end(), "set()"), 2);
    EXPECT_EQ(SendMessageW(in(IDC_ASSIGN_PROGRESS), PBM_GETPOS, 0, 0), 2);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(ListCell(table, row, 9), L"changed") << row;
        EXPECT_EQ(ListCell(table, row, 10), ListCell(table, row, 3)) << row;
    }
    // The columns fit their texts once the batch has ended.
    for (int column = 0; column < 11; ++column) {
        EXPECT_GE(ListView_GetColumnWidth(table, column),
                  ListView_GetStringWidth(table, ListCell(table, 0, column).c_str()))
            << column;
    }

    m_Fake.calls.clear();
    SendMessageW(in(IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpUntil([&] {
        return AssignDialog() == nullptr && IsWindowEnabled(m_Window->Handle()) != 0 &&
               IsWindowEnabled(Item(ControlId::SearchButton)) != 0 && !m_Fake.calls.empty();
    }));
    EXPECT_EQ(m_Fake.calls.back(), "search(1500)");
    EXPECT_GE(RowNamed(L"Cam-02"), 0);
}

TEST_F(KestrunWindowTest, ClosingTheAssignDialogDuringItsBatchWaitsAndClosesAtTheEnd) {
    m_Fake.setsChangeDevices = true;
    Open();
    NotifyList(NM_CLICK, RowNamed(L"Lobby"));
    SendMessageW(m_Window->Handle(), WM_COMMAND, IDM_ASSIGN, 0);
    HWND dialog = AssignDialog();
    ASSERT_NE(dialog, nullptr);
    const auto in = [dialog](int id) { return GetDlgItem(dialog, id); };
    SendMessageW(in(IDC_ASSIGN_FIRST), IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 0, 2, 40));
    SendMessageW(in(IDC_ASSIGN_NETMASK), IPM_SETADDRESS, 0, MAKEIPADDRESS(255, 255, 255, 0));
    // The fake host's addresses have no subnet of their own.
    SendMessageW(in(IDC_ASSIGN_OTHER_SUBNET), BM_CLICK, 0, 0);
    ASSERT_EQ(ListView_GetItemCount(in(IDC_ASSIGN_TABLE)), 1) << Text(in(IDC_ASSIGN_MESSAGE));

    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> entered;
    bool held = false; // set on the batch's thread only
    m_Fake.duringSearch = [&entered, &held, released] {
        if (!std::exchange(held, true)) {
            entered.set_value();
        }
        released.wait();
    };
    SendMessageW(in(IDC_ASSIGN_APPLY), BM_CLICK, 0, 0);
    entered.get_future().wait();
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(AssignDialog(), dialog);
    EXPECT_FALSE(IsWindowEnabled(in(IDCANCEL)));
    EXPECT_EQ(Text(in(IDC_ASSIGN_MESSAGE)), L"The addresses are still being assigned. The window "
                                            L"closes when all devices are done.");
    release.set_value();
    ASSERT_TRUE(PumpUntil([&] {
        return AssignDialog() == nullptr && IsWindowEnabled(Item(ControlId::SearchButton)) != 0 &&
               m_Fake.calls.back() == "search(1500)";
    }));
    ASSERT_TRUE(m_Fake.lastSet);
    EXPECT_EQ(m_Fake.lastSet->IP[3], 40);
    EXPECT_EQ(Cell(RowNamed(L"Lobby"), 2), L"192.000.002.040"); // searched again
}

TEST(WholeFileTest, ReplacesTheFileWholeOrLeavesItAlone) {
    const TempDirectory directory;
    const std::string path = (directory.Path() / "devices.csv").string();
    directory.WriteFile("devices.csv", "old");
    EXPECT_EQ(win32::WriteWholeFile(path, "new,rows\n"), std::nullopt);
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "new,rows\n");
    EXPECT_TRUE(win32::WriteWholeFile((directory.Path() / "missing" / "x.csv").string(), "x"));
    EXPECT_FALSE(std::filesystem::exists(directory.Path() / "missing"));
}

} // namespace
} // namespace kestrun::test
