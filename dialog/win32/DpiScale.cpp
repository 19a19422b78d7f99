#include "DpiScale.h"

namespace kestrun::win32 {

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);

// GetDpiForWindow came with Windows 10 version 1607: looked up when the program runs, so that
// kestrun.exe still starts on older systems.
DpiForWindow FindDpiForWindow() {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 == nullptr ? nullptr
                             : reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(
                                   GetProcAddress(user32, "GetDpiForWindow")));
}

// 0 for a window handle that is not valid.
UINT WindowDpi(HWND window) {
    static const DpiForWindow dpiForWindow = FindDpiForWindow();
    if (dpiForWindow != nullptr) {
        return dpiForWindow(window);
    }
    // Older systems lay every window out at the one DPI of the desktop, which its device
    // context tells.
    if (IsWindow(window) == FALSE) {
        return 0;
    }
    const HDC screen = GetDC(window);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(window, screen);
    return static_cast<UINT>(dpi);
}

} // namespace

int ScaledPixels(HWND window, int pixelsAt96Dpi) {
    const UINT dpi = WindowDpi(window);
    // 0 for a window handle that is not valid: keep the size as given.
    return dpi == 0 ? pixelsAt96Dpi : MulDiv(pixelsAt96Dpi, static_cast<int>(dpi), 96);
}

} // namespace kestrun::win32
