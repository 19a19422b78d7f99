// The Windows Kestrun's device list at the size of a large site: how long a search takes to fill
// the virtual list and a heading click to sort it, with the fake library (no socket), under Wine
// on a virtual display: xvfb-run -a wine vanmoor_KestrunWindowsListBench.exe
#include "IpEditWindow.h"
#include "LargeSite.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

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

kestrun::bench::ListFigures Measure(int count) {
    FakeLibrary fake;
    fake.localAddresses = {"10.0.0.254"};
    fake.devices = kestrun::bench::LargeSite(count);
    kestrun::win32::IpEditWindow window(fake.Api(), GetModuleHandleW(nullptr), {});
    if (!window.Create()) {
        std::fprintf(stderr, "the window could not be made\n");
        std::exit(1);
    }
    const HWND dialog = window.Handle();
    WaitForSearch(dialog);

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
    cpu = CpuSeconds();
    wall = WallSeconds();
    SendMessageW(dialog, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    UpdateWindow(dialog);
    figures.sortWall = WallSeconds() - wall;
    figures.sortCpu = CpuSeconds() - cpu;
    return figures;
}

} // namespace

int main() {
    InitCommonControls();
    kestrun::bench::PrintListFigures(Measure);
    return 0;
}
