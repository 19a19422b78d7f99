// Drives the real kestrun.exe from outside, as a person would with the mouse and keyboard, but
// by window messages: waits for its first search, checks the listed names, selects a device,
// renames it, submits, and checks that the next search lists the new name; then gives that device
// a new address through "Assign addresses..." and checks the next search lists it there; with
// --camera, reads a camera of WS-Discovery alone through its device service with the credentials
// given and moves it to the next address; Exit.
//
//   kestrun_windows_network_driver.exe KESTRUN_EXE OLD_NAME NEW_NAME LISTED_NAME...
//       [--camera ROW_NAME USER PASSWORD]
//
// With --site, "Assign addresses..." for all devices from FIRST on instead: reads the cameras
// with USER and PASSWORD, checks the rows planned (each RESULT is MAC=RESULT, or an address
// for a camera left out, as the table names them), applies and checks each row's result.
//
//   kestrun_windows_network_driver.exe --site KESTRUN_EXE USER PASSWORD FIRST ROW=RESULT...
//
// The list's texts live in the other process: they are read through memory allocated there.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kDeviceList = 1031;
constexpr int kNameField = 1019;
constexpr int kSubmitButton = 1006;
constexpr int kSearchButton = 1050;
constexpr int kIpField = 1001;
constexpr int kNetmaskField = 1023;
constexpr int kMacField = 1017;
constexpr int kUserNameField = 1021;
constexpr int kPasswordField = 1022;
constexpr int kReadButton = 1057;
// The text of a message box.
constexpr int kMessageText = 0xFFFF;
constexpr WPARAM kAssignCommand = 40002;
constexpr int kAssignFirst = 1202;
constexpr int kAssignNetmask = 1204;
constexpr int kAssignTable = 1223;
constexpr int kAssignApply = 1225;
constexpr int kAssignChoice = 1216;
constexpr int kAssignUser = 1218;
constexpr int kAssignPassword = 1220;
constexpr int kAssignReadCameras = 1226;
constexpr int kMacColumn = 0;
constexpr int kCurrentColumn = 2;
constexpr int kResultColumn = 9;
// The last number of the address the assign dialog hands out first.
constexpr DWORD kAssignedLast = 50;
constexpr const wchar_t* kErrorMarker = L"(!) ";

bool WaitFor(const std::function<bool()>& done, int seconds = 30) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (done()) {
            return true;
        }
        Sleep(10);
    }
    return false;
}

// A block of memory in the program's process, for messages that carry pointers.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, std::size_t size)
        : m_Process(process), m_Address(VirtualAllocEx(process, nullptr, size,
                                                       MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (m_Address != nullptr) {
            VirtualFreeEx(m_Process, m_Address, 0, MEM_RELEASE);
        }
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    char* Address() const { return static_cast<char*>(m_Address); }
    bool Write(std::size_t offset, const void* data, std::size_t size) const {
        return WriteProcessMemory(m_Process, Address() + offset, data, size, nullptr) != 0;
    }
    bool Read(std::size_t offset, void* data, std::size_t size) const {
        return ReadProcessMemory(m_Process, Address() + offset, data, size, nullptr) != 0;
    }

private:
    HANDLE m_Process;
    void* m_Address;
};

class KestrunWindow {
public:
    KestrunWindow(HWND window, HANDLE process) : m_Window(window), m_Memory(process, 4096) {}

    HWND Item(int id) const { return GetDlgItem(m_Window, id); }
    bool Searched() const { return IsWindowEnabled(Item(kSearchButton)) != 0; }

    std::wstring Cell(HWND list, int row, int column) const {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = reinterpret_cast<wchar_t*>(m_Memory.Address() + kTextOffset);
        item.cchTextMax = kTextUnits;
        wchar_t text[kTextUnits] = {};
        m_Memory.Write(0, &item, sizeof(item));
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(m_Memory.Address()));
        m_Memory.Read(kTextOffset, text, sizeof(text) - sizeof(wchar_t));
        return text;
    }

    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        const int rows = static_cast<int>(SendMessageW(Item(kDeviceList), LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row) {
            std::wstring name = Cell(Item(kDeviceList), row, 1);
            if (name.starts_with(kErrorMarker)) {
                name.erase(0, std::wcslen(kErrorMarker));
            }
            names.push_back(name);
        }
        return names;
    }

    // An address field's four octets, the first one highest.
    DWORD Address(int id) const {
        DWORD address = 0;
        m_Memory.Write(0, &address, sizeof(address));
        SendMessageW(Item(id), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(m_Memory.Address()));
        m_Memory.Read(0, &address, sizeof(address));
        return address;
    }

    // Moves the focus mark and the selection there, as the arrow keys do.
    void Select(int row) const {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = item.stateMask;
        m_Memory.Write(0, &item, sizeof(item));
        SendMessageW(Item(kDeviceList), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(m_Memory.Address()));
    }

    std::wstring FieldText(int id) const {
        wchar_t text[256] = {};
        SendMessageW(Item(id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
        return text;
    }

    // Posted: a message box the click opens must not hold this program.
    void Click(int id) const { PostMessageW(Item(id), BM_CLICK, 0, 0); }

private:
    static constexpr std::size_t kTextOffset = 256;
    static constexpr int kTextUnits = 512;
    HWND m_Window;
    RemoteMemory m_Memory;
};

struct Search {
    DWORD processId;
    int childId;
    HWND found = nullptr;
};

// The window of that process that holds the control `childId`.
HWND FindWindowWith(DWORD processId, int childId) {
    Search search{processId, childId};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& wanted = *reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == wanted.processId && GetDlgItem(window, wanted.childId) != nullptr) {
                wanted.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Closes the message boxes the program shows (owned windows without the device list).
void CloseMessageBoxes(DWORD processId) {
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == static_cast<DWORD>(context) &&
                GetDlgItem(window, kDeviceList) == nullptr && IsWindowVisible(window)) {
                PostMessageW(window, WM_COMMAND, IDOK, 0);
            }
            return TRUE;
        },
        static_cast<LPARAM>(processId));
}

// The text of the first message box the program shows; empty while none.
std::wstring MessageBoxText(DWORD processId) {
    struct Found {
        DWORD processId;
        std::wstring text;
    } found{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& wanted = *reinterpret_cast<Found*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != wanted.processId || GetDlgItem(window, kDeviceList) != nullptr ||
                !IsWindowVisible(window)) {
                return TRUE;
            }
            wchar_t text[512] = {};
            GetDlgItemTextW(window, kMessageText, text, static_cast<int>(std::size(text)));
            wanted.text = text;
            return wanted.text.empty();
        },
        reinterpret_cast<LPARAM>(&found));
    return found.text;
}

bool Lists(const std::vector<std::wstring>& names, const std::wstring& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

int Fail(const char* what) {
    std::printf("FAIL: kestrun.exe %s\n", what);
    return 1;
}

std::wstring ThreeDigitText(DWORD address) {
    wchar_t text[16] = {};
    std::swprintf(text, std::size(text), L"%03lu.%03lu.%03lu.%03lu", (address >> 24) & 0xFF,
                  (address >> 16) & 0xFF, (address >> 8) & 0xFF, address & 0xFF);
    return text;
}

// Selects the device, opens "Assign addresses..." from the context menu, plans the device's own
// subnet from kAssignedLast on, applies, closes, and waits for the search that follows.
int AssignNewAddress(const KestrunWindow& kestrun, HWND window, DWORD processId,
                     const std::wstring& name) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<std::wstring> names = kestrun.Names();
    const auto row = std::find(names.begin(), names.end(), name);
    if (row == names.end()) {
        return Fail("does not list the device to assign an address to");
    }
    kestrun.Select(static_cast<int>(row - names.begin()));
    if (!WaitFor([&] { return kestrun.FieldText(kNameField) == name; }, 10)) {
        return Fail("did not load the device to assign an address to");
    }
    const DWORD netmask = kestrun.Address(kNetmaskField);
    const DWORD planned = (kestrun.Address(kIpField) & 0xFFFFFF00U) | kAssignedLast;
    PostMessageW(window, WM_COMMAND, kAssignCommand, 0);
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = FindWindowWith(processId, kAssignTable)) != nullptr; },
                 10)) {
        return Fail("opened no assign dialog");
    }
    SendMessageW(GetDlgItem(dialog, kAssignFirst), IPM_SETADDRESS, 0, static_cast<LPARAM>(planned));
    SendMessageW(GetDlgItem(dialog, kAssignNetmask), IPM_SETADDRESS, 0,
                 static_cast<LPARAM>(netmask));
    HWND apply = GetDlgItem(dialog, kAssignApply);
    if (!WaitFor([&] { return IsWindowEnabled(apply) != 0; }, 10)) {
        return Fail("plans nothing for the selected device");
    }
    PostMessageW(apply, BM_CLICK, 0, 0);
    HWND table = GetDlgItem(dialog, kAssignTable);
    HWND close = GetDlgItem(dialog, IDCANCEL);
    if (!WaitFor([&] {
            return IsWindowEnabled(close) != 0 && !kestrun.Cell(table, 0, kResultColumn).empty();
        }) ||
        kestrun.Cell(table, 0, kResultColumn) != L"changed") {
        return Fail("did not change the device's address");
    }
    PostMessageW(close, BM_CLICK, 0, 0);
    const std::wstring listed = ThreeDigitText(planned);
    if (!WaitFor([&] {
            if (FindWindowWith(processId, kAssignTable) != nullptr || !kestrun.Searched()) {
                return false;
            }
            const std::vector<std::wstring> now = kestrun.Names();
            const auto at = std::find(now.begin(), now.end(), name);
            return at != now.end() && kestrun.Cell(kestrun.Item(kDeviceList),
                                                   static_cast<int>(at - now.begin()), 2) == listed;
        })) {
        return Fail("does not list the device at its assigned address after closing");
    }
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("ok: \"Assign addresses...\" in kestrun.exe moved %ls to %ls (%lld ms)\n",
                name.c_str(), listed.c_str(), static_cast<long long>(took.count()));
    return 0;
}

// Loads the camera's row, reads it with the credentials, moves it to the address after its own
// and checks the message and the row the search after the change shows.
int ChangeCamera(const KestrunWindow& kestrun, DWORD processId, const std::wstring& name,
                 const std::wstring& user, const std::wstring& password) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<std::wstring> names = kestrun.Names();
    const auto row = std::find(names.begin(), names.end(), name);
    if (row == names.end()) {
        return Fail("does not list the camera to read");
    }
    kestrun.Select(static_cast<int>(row - names.begin()));
    if (!WaitFor([&] { return IsWindowVisible(kestrun.Item(kReadButton)) != 0; }, 10)) {
        return Fail("offers no Read for a camera with a device service");
    }
    SendMessageW(kestrun.Item(kUserNameField), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(user.c_str()));
    SendMessageW(kestrun.Item(kPasswordField), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(password.c_str()));
    kestrun.Click(kReadButton);
    if (!WaitFor([&] { return IsWindowEnabled(kestrun.Item(kNameField)) != 0; })) {
        std::printf("message: %ls\n", MessageBoxText(processId).c_str());
        return Fail("did not read the camera");
    }
    std::printf("ok: kestrun.exe read %ls: MAC %ls\n", name.c_str(),
                kestrun.FieldText(kMacField).c_str());
    const DWORD moved = kestrun.Address(kIpField) + 1;
    SendMessageW(kestrun.Item(kIpField), IPM_SETADDRESS, 0, static_cast<LPARAM>(moved));
    kestrun.Click(kSubmitButton);
    std::wstring message;
    if (!WaitFor([&] { return !(message = MessageBoxText(processId)).empty(); }, 120)) {
        return Fail("told nothing after the camera's change");
    }
    CloseMessageBoxes(processId);
    if (message != L"The camera shows the new settings.") {
        std::printf("message: %ls\n", message.c_str());
        return Fail("did not change the camera");
    }
    const std::vector<std::wstring> now = kestrun.Names();
    const auto at = std::find(now.begin(), now.end(), name);
    if (at == now.end() ||
        kestrun.Cell(kestrun.Item(kDeviceList), static_cast<int>(at - now.begin()), 2) !=
            ThreeDigitText(moved)) {
        return Fail("does not list the camera at its new address");
    }
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("ok: kestrun.exe moved the camera %ls to %ls (%lld ms)\n", name.c_str(),
                ThreeDigitText(moved).c_str(), static_cast<long long>(took.count()));
    return 0;
}

DWORD DottedAddress(const std::wstring& text) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::swscanf(text.c_str(), L"%u.%u.%u.%u", &a, &b, &c, &d);
    return (a << 24) | (b << 16) | (c << 8) | d;
}

// A row of the assign table as the expected results name it: by MAC, else by the address of a
// camera left out.
std::wstring RowKey(const KestrunWindow& kestrun, HWND table, int row) {
    const std::wstring mac = kestrun.Cell(table, row, kMacColumn);
    return mac.empty() ? kestrun.Cell(table, row, kCurrentColumn) : mac;
}

// All devices from `first` on, in the device's subnet /24, after reading the cameras.
int AssignSite(const KestrunWindow& kestrun, HWND window, DWORD processId, const wchar_t* user,
               const wchar_t* password, const std::wstring& first,
               const std::vector<std::wstring>& expected) {
    PostMessageW(window, WM_COMMAND, kAssignCommand, 0);
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = FindWindowWith(processId, kAssignTable)) != nullptr; },
                 10)) {
        return Fail("opened no assign dialog");
    }
    HWND choice = GetDlgItem(dialog, kAssignChoice);
    SendMessageW(choice, CB_SETCURSEL, 2, 0); // all devices
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kAssignChoice, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(choice));
    SendMessageW(GetDlgItem(dialog, kAssignFirst), IPM_SETADDRESS, 0,
                 static_cast<LPARAM>(DottedAddress(first)));
    SendMessageW(GetDlgItem(dialog, kAssignNetmask), IPM_SETADDRESS, 0,
                 static_cast<LPARAM>(0xFFFFFF00U));
    HWND read = GetDlgItem(dialog, kAssignReadCameras);
    if (!IsWindowVisible(read)) {
        return Fail("offers no read of the cameras");
    }
    SendMessageW(GetDlgItem(dialog, kAssignUser), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(user));
    SendMessageW(GetDlgItem(dialog, kAssignPassword), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(password));
    PostMessageW(read, BM_CLICK, 0, 0);
    HWND table = GetDlgItem(dialog, kAssignTable);
    HWND apply = GetDlgItem(dialog, kAssignApply);
    const auto rows = [&] { return static_cast<int>(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0)); };
    if (!WaitFor([&] {
            return IsWindowEnabled(apply) != 0 && rows() == static_cast<int>(expected.size());
        })) {
        return Fail("plans no row per device after reading the cameras");
    }
    PostMessageW(apply, BM_CLICK, 0, 0);
    HWND close = GetDlgItem(dialog, IDCANCEL);
    // A camera that keeps its settings is looked for at its new address for two minutes.
    if (!WaitFor(
            [&] {
                return IsWindowEnabled(close) != 0 &&
                       !kestrun.Cell(table, 0, kResultColumn).empty();
            },
            200)) {
        return Fail("did not end the batch");
    }
    int failed = 0;
    for (int row = 0; row < rows(); ++row) {
        const std::wstring got =
            RowKey(kestrun, table, row) + L"=" + kestrun.Cell(table, row, kResultColumn);
        if (std::find(expected.begin(), expected.end(), got) == expected.end()) {
            std::printf("FAIL: kestrun.exe's assign row %ls\n", got.c_str());
            failed = 1;
        }
    }
    if (failed == 0) {
        std::printf("ok: \"Assign addresses...\" in kestrun.exe read and changed a mixed site "
                    "(%d rows)\n",
                    rows());
    }
    PostMessageW(close, BM_CLICK, 0, 0);
    WaitFor(
        [&] { return FindWindowWith(processId, kAssignTable) == nullptr && kestrun.Searched(); });
    return failed;
}

// Starts the program and waits for its window; ends it when none comes.
bool Start(const wchar_t* program, PROCESS_INFORMATION& started, HWND& window) {
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &started) == 0) {
        return false;
    }
    if (WaitFor([&] {
            return (window = FindWindowWith(started.dwProcessId, kDeviceList)) != nullptr;
        })) {
        return true;
    }
    TerminateProcess(started.hProcess, 1);
    return false;
}

int FirstSearch(const KestrunWindow& kestrun) {
    if (!WaitFor([&] { return kestrun.Searched() && !kestrun.Names().empty(); })) {
        return Fail("listed nothing after its first search");
    }
    return 0;
}

// Exit, and the program's end.
int Stop(const KestrunWindow& kestrun, const PROCESS_INFORMATION& started) {
    int failed = 0;
    CloseMessageBoxes(started.dwProcessId);
    kestrun.Click(2); // Exit
    if (WaitForSingleObject(started.hProcess, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(started.hProcess, 1);
        failed = Fail("did not end on Exit");
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return failed;
}

int RunSite(int argc, wchar_t* argv[]) {
    PROCESS_INFORMATION started{};
    HWND window = nullptr;
    if (!Start(argv[2], started, window)) {
        return Fail("showed no window");
    }
    const KestrunWindow kestrun(window, started.hProcess);
    int failed = FirstSearch(kestrun);
    if (failed == 0) {
        failed = AssignSite(kestrun, window, started.dwProcessId, argv[3], argv[4], argv[5],
                            std::vector<std::wstring>(argv + 6, argv + argc));
    }
    return Stop(kestrun, started) | failed;
}

} // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc >= 7 && std::wstring(argv[1]) == L"--site") {
        return RunSite(argc, argv);
    }
    if (argc < 4) {
        std::fputs("usage: KESTRUN_EXE OLD_NAME NEW_NAME LISTED_NAME... "
                   "[--camera ROW_NAME USER PASSWORD]\n",
                   stderr);
        return 2;
    }
    const bool camera = argc >= 8 && std::wstring(argv[argc - 4]) == L"--camera";
    const int listedEnd = camera ? argc - 4 : argc;
    const std::wstring oldName = argv[2];
    const std::wstring newName = argv[3];
    PROCESS_INFORMATION started{};
    HWND window = nullptr;
    if (!Start(argv[1], started, window)) {
        return Fail("showed no window");
    }
    const KestrunWindow kestrun(window, started.hProcess);
    int failed = FirstSearch(kestrun);
    const std::vector<std::wstring> names = kestrun.Names();
    for (int i = 4; i < listedEnd; ++i) {
        if (!Lists(names, argv[i])) {
            std::printf("FAIL: the first search does not list %ls\n", argv[i]);
            failed = 1;
        }
    }
    if (failed == 0) {
        std::printf("ok: kestrun.exe lists the devices of both lans (%zu rows)\n", names.size());
    }

    const auto row = std::find(names.begin(), names.end(), oldName);
    if (row != names.end()) {
        kestrun.Select(static_cast<int>(row - names.begin()));
        if (!WaitFor([&] { return kestrun.FieldText(kNameField) == oldName; }, 10)) {
            failed = Fail("did not load the selected device");
        }
        SendMessageW(kestrun.Item(kNameField), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(newName.c_str()));
        kestrun.Click(kSubmitButton);
        // The submit searches again and tells how it went.
        if (!WaitFor([&] { return Lists(kestrun.Names(), newName); })) {
            failed = Fail("does not list the new name after its submit");
        }
        CloseMessageBoxes(started.dwProcessId);
        WaitFor([&] { return kestrun.Searched(); });
        kestrun.Click(kSearchButton);
        WaitFor([&] { return !kestrun.Searched(); }, 5);
        if (!WaitFor([&] { return kestrun.Searched(); }) || !Lists(kestrun.Names(), newName) ||
            Lists(kestrun.Names(), oldName)) {
            failed = Fail("does not show the renamed device at the next search");
        } else {
            std::printf("ok: a submit from kestrun.exe renamed %ls to %ls\n", oldName.c_str(),
                        newName.c_str());
            failed |= AssignNewAddress(kestrun, window, started.dwProcessId, newName);
        }
    } else {
        failed = Fail("does not list the device to rename");
    }

    if (camera && failed == 0) {
        CloseMessageBoxes(started.dwProcessId);
        WaitFor([&] { return kestrun.Searched(); });
        failed |= ChangeCamera(kestrun, started.dwProcessId, argv[argc - 3], argv[argc - 2],
                               argv[argc - 1]);
    }
    return Stop(kestrun, started) | failed;
}
