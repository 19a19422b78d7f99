#pragma once

#include <windows.h>

#include <string>

namespace kestrun::win32 {

// The about box (template 100), modal over `owner`; closed by its close box or Escape.
void RunAboutBox(HINSTANCE instance, HWND owner, const std::u16string& notice);

} // namespace kestrun::win32
