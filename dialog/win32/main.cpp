#include "DesktopActions.h"
#include "IpEditWindow.h"
#include "LibraryApi.h"
#include "NetworkWsdScan.h"
#include "resource.h"

#include <windows.h>
#include <winsock2.h>

#include <commctrl.h>

namespace {

// The sockets layer the library needs; cleaned up as the program ends.
class SocketsLayer {
public:
    SocketsLayer() { m_Started = WSAStartup(MAKEWORD(2, 2), &m_Data) == 0; }
    ~SocketsLayer() {
        if (m_Started) {
            WSACleanup();
        }
    }
    SocketsLayer(const SocketsLayer&) = delete;
    SocketsLayer& operator=(const SocketsLayer&) = delete;
    bool Started() const { return m_Started; }

private:
    WSADATA m_Data{};
    bool m_Started = false;
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    const SocketsLayer sockets;
    if (!sockets.Started()) {
        wchar_t* text = nullptr;
        const int length =
            LoadStringW(instance, IDS_SOCKETS_INIT_FAILED, reinterpret_cast<wchar_t*>(&text), 0);
        MessageBoxW(nullptr, std::wstring(text, static_cast<std::size_t>(length)).c_str(), L"",
                    MB_OK);
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES |
                                                        ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        kestrun::win32::IpEditWindow window(kestrun::RealLibraryApi(), instance,
                                            kestrun::win32::SystemDesktopActions(),
                                            kestrun::MakeNetworkWsdScan());
        if (!window.Create()) {
            return 1;
        }
        window.RunUntilClosed();
    } catch (...) {
        return 1;
    }
    return 0;
}
