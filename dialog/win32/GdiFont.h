#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace kestrun::win32 {

struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
// A font the window made; it lives as long as the controls that use it.
using GdiFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

} // namespace kestrun::win32
