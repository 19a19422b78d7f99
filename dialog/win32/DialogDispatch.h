#pragma once

#include <windows.h>

namespace kestrun::win32 {

// The body of a dialog procedure for an object that owns its dialog: the object given to
// CreateDialogParam is kept in the dialog's user data, learns its handle at WM_INITDIALOG, and
// gets every message through `handler`. Nothing may unwind through the window procedure of the
// system: a throwing handler leaves the message to the default handling.
template <typename Window>
INT_PTR DispatchDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                              HWND Window::*handle,
                              INT_PTR (Window::*handler)(UINT, WPARAM, LPARAM)) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<Window*>(lParam)->*handle = dialog;
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    try {
        return (self->*handler)(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

} // namespace kestrun::win32
