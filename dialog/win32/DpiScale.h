#pragma once

#include <windows.h>

namespace kestrun::win32 {

// The window declares per-monitor DPI awareness, so Windows no longer stretches it: sizes given
// in pixels of a 96 DPI screen (the list's fonts, its column widths) are scaled to the DPI of
// the monitor the window is on. The template's dialog units scale with the dialog font anyway.
int ScaledPixels(HWND window, int pixelsAt96Dpi);

} // namespace kestrun::win32
