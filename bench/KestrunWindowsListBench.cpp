// The Windows Kestrun's device list at the size of a large site: how long a search takes to fill
// the virtual list and a heading click to sort it, again with every row selected; then the
// assign dialog for every device of a site: showing its plan, a key typed into the name
// pattern, and its batch from Apply until Close can be used. With the fake library (no socket),
// under Wine on a virtual display:
// xvfb-run -a wine vanmoor_KestrunWindowsListBench.exe [ASSIGN_DEVICES, 1000 unless given]
#include "AssignDialogOf.h"
#include "IpEditWindow.h"
#include "LargeSite.h"
#include "resource.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using kestrun::ControlId;
using kestrun::test::FakeLibrary;

double Seconds(const FILETIME& time) {
    ULARGE_INTEGER ticks{};
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    return static_cast<double>(ticks.QuadPart) / 1e7;
}

double CpuSeconds() {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

double WallSeconds() {
    LARGE_INTEGER count{}, frequency{};
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump(HWND dialog) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

HWND Item(HWND dialog, ControlId id) {
    return GetDlgItem(dialog, static_cast<int>(id));
}

void WaitForSearch(HWND dialog) {
    Pump(dialog);
    while (IsWindowEnabled(Item(dialog, ControlId::SearchButton)) == 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        Pump(dialog);
    }
}

// The window on `fake`, its first search done.
std::unique_ptr<kestrun::win32::IpEditWindow> OpenWindow(const FakeLibrary& fake) {
    auto window = std::make_unique<kestrun::win32::IpEditWindow>(
        fake.Api(), GetModuleHandleW(nullptr), kestrun::win32::DesktopActions{});
    if (!window->Create()) {
        std::fprintf(stderr, "the window could not be made\n");
        std::exit(1);
    }
    WaitForSearch(window->Handle());
    return window;
}

kestrun::bench::ListFigures Measure(int count) {
    FakeLibrary fake;
    fake.localAddresses = {"10.0.0.254"};
    fake.devices = kestrun::bench::LargeSite(count);
    const auto window = OpenWindow(fake);
    const HWND dialog = window->Handle();

    // The search itself returns at once; what is left is listing the devices and painting.
    kestrun::bench::ListFigures figures;
    double cpu = CpuSeconds();
    double wall = WallSeconds();
    SendMessageW(Item(dialog, ControlId::SearchButton), BM_CLICK, 0, 0);
    WaitForSearch(dialog);
    UpdateWindow(dialog);
    figures.fillWall = WallSeconds() - wall;
    figures.fillCpu = CpuSeconds() - cpu;

    const HWND list = Item(dialog, ControlId::DeviceList);
    NMLISTVIEW click{};
    click.hdr = {list, static_cast<UINT_PTR>(ControlId::DeviceList),
                 static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iItem = -1;
    click.iSubItem = 1;
    const auto sort = [&](double& sortWall, double& sortCpu) {
        cpu = CpuSeconds();
        wall = WallSeconds();
        SendMessageW(dialog, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
        UpdateWindow(dialog);
        sortWall = WallSeconds() - wall;
        sortCpu = CpuSeconds() - cpu;
    };
    sort(figures.sortWall, figures.sortCpu);
    // Ctrl+A, the focus mark on the first row.
    ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    sort(figures.selectedSortWall, figures.selectedSortCpu);
    return figures;
}

// Times `step` on the wall clock and the process's CPU, prints them after `label`.
template <typename Step> void PrintTimed(const char* label, Step step) {
    const double cpu = CpuSeconds();
    const double wall = WallSeconds();
    step();
    std::printf("%-38s %8.3f s wall %8.3f s cpu\n", label, WallSeconds() - wall,
                CpuSeconds() - cpu);
    std::fflush(stdout);
}

void MeasureAssign(int count) {
    FakeLibrary fake;
    fake.localAddresses = {"10.0.0.254"};
    fake.devices = kestrun::bench::LargeSite(count);
    fake.setsChangeDevices = true;
    const auto window = OpenWindow(fake);
    const HWND main = window->Handle();
    std::printf("assign dialog, %d devices\n", count);
    HWND dialog = nullptr;
    PrintTimed("  open", [&] {
        SendMessageW(main, WM_COMMAND, IDM_ASSIGN, 0);
        dialog = kestrun::test::AssignDialogOf(main);
        UpdateWindow(dialog);
    });
    const auto in = [&dialog](int id) { return GetDlgItem(dialog, id); };
    SendMessageW(in(IDC_ASSIGN_CHOICE), CB_SETCURSEL, 2, 0); // all devices
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ASSIGN_CHOICE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(in(IDC_ASSIGN_CHOICE)));
    SendMessageW(in(IDC_ASSIGN_FIRST), IPM_SETADDRESS, 0, MAKEIPADDRESS(10, 1, 0, 1));
    // The fake host's address has no subnet of its own.
    SendMessageW(in(IDC_ASSIGN_OTHER_SUBNET), BM_CLICK, 0, 0);
    const HWND pattern = in(IDC_ASSIGN_PATTERN);
    SendMessageW(pattern, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Cam-{n:04}"));
    PrintTimed("  plan shown (netmask entered)", [&] {
        SendMessageW(in(IDC_ASSIGN_NETMASK), IPM_SETADDRESS, 0, MAKEIPADDRESS(255, 0, 0, 0));
        UpdateWindow(dialog);
    });
    // Typed before the number, where the caret is.
    for (const wchar_t key : {L'N', L'e', L'w'}) {
        PrintTimed("  a key typed into the name pattern", [&] {
            SendMessageW(pattern, WM_CHAR, key, 0);
            UpdateWindow(dialog);
        });
    }
    if (ListView_GetItemCount(in(IDC_ASSIGN_TABLE)) != count) {
        wchar_t message[256] = {};
        GetDlgItemTextW(dialog, IDC_ASSIGN_MESSAGE, message, 256);
        std::fprintf(stderr, "the plan has %d rows, not %d: %ls\n",
                     ListView_GetItemCount(in(IDC_ASSIGN_TABLE)), count, message);
        std::exit(1);
    }
    PrintTimed("  Apply until Close can be used", [&] {
        SendMessageW(in(IDC_ASSIGN_APPLY), BM_CLICK, 0, 0);
        Pump(main);
        while (IsWindowEnabled(in(IDCANCEL)) == 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            Pump(main);
        }
        UpdateWindow(dialog);
    });
    SendMessageW(in(IDCANCEL), BM_CLICK, 0, 0);
    WaitForSearch(main); // the search after the batch
}

} // namespace

int main(int argc, char** argv) {
    InitCommonControls();
    kestrun::bench::PrintListFigures(Measure);
    MeasureAssign(argc > 1 ? std::atoi(argv[1]) : 1000);
    return 0;
}
