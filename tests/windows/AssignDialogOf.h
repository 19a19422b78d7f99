#pragma once

#include "resource.h"

#include <windows.h>

namespace kestrun::test {

// The assign dialog that `owner` has open on this thread; null when none is open.
inline HWND AssignDialogOf(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM context) {
            auto& wanted = *reinterpret_cast<Search*>(context);
            if (GetWindow(window, GW_OWNER) == wanted.owner &&
                GetDlgItem(window, IDC_ASSIGN_TABLE) != nullptr) {
                wanted.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace kestrun::test
