#include "DpiScale.h"

namespace kestrun::win32 {

int ScaledPixels(HWND window, int pixelsAt96Dpi) {
    const UINT dpi = GetDpiForWindow(window);
    // 0 for a window handle that is not valid: keep the size as given.
    return dpi == 0 ? pixelsAt96Dpi : MulDiv(pixelsAt96Dpi, static_cast<int>(dpi), 96);
}

} // namespace kestrun::win32
