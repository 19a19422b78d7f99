#include "AboutBox.h"

#include "WideText.h"
#include "resource.h"

namespace kestrun::win32 {

namespace {

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextW(dialog, IDC_ABOUT_NOTICE,
                        Wide(*reinterpret_cast<const std::u16string*>(lParam)));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

void RunAboutBox(HINSTANCE instance, HWND owner, const std::u16string& notice) {
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), owner, AboutProc,
                    reinterpret_cast<LPARAM>(&notice));
}

} // namespace kestrun::win32
