#include "DesktopActions.h"

#include "WideText.h"

#include <commdlg.h>
#include <shellapi.h>

#include <array>

namespace kestrun::win32 {

namespace {

void ShowMessageBox(HWND owner, MessageIcon icon, const std::u16string& text) {
    if (icon == MessageIcon::None) {
        // The refusal of a network card: the plain notice, without owner or caption.
        MessageBoxW(nullptr, Wide(text), L"", MB_OK);
        return;
    }
    std::array<wchar_t, 128> caption{};
    GetWindowTextW(owner, caption.data(), static_cast<int>(caption.size()));
    MessageBoxW(owner, Wide(text), caption.data(),
                MB_OK | (icon == MessageIcon::Information ? MB_ICONINFORMATION : MB_ICONWARNING));
}

// "CSV (*.csv)" offers the pattern in its parentheses; the dialog's filter list is pairs of
// zero-terminated texts, ending in an empty one.
std::wstring FilterList(const std::vector<std::u16string>& filters) {
    std::wstring list;
    for (const std::u16string& filter : filters) {
        const std::wstring text(Wide(filter));
        const std::size_t open = text.rfind(L'(');
        const std::size_t close = text.rfind(L')');
        const std::wstring pattern = open != std::wstring::npos && close > open
                                         ? text.substr(open + 1, close - open - 1)
                                         : std::wstring(L"*.*");
        list += text + L'\0' + pattern + L'\0';
    }
    return list + L'\0';
}

std::optional<SaveChoice> ChooseSaveFile(HWND owner, const std::u16string& caption,
                                         const std::vector<std::u16string>& filters,
                                         std::size_t chosenFilter) {
    const std::wstring filterList = FilterList(filters);
    std::array<wchar_t, 32768> path{};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filterList.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(chosenFilter + 1);
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = Wide(caption);
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (GetSaveFileNameW(&dialog) == 0) {
        return std::nullopt;
    }
    const std::size_t filter = dialog.nFilterIndex > 0 ? dialog.nFilterIndex - 1 : chosenFilter;
    return SaveChoice{Utf8FromWide(path.data()), filter};
}

void OpenInBrowser(const std::string& address) {
    ShellExecuteW(nullptr, L"open", WideFromUtf8(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

DesktopActions SystemDesktopActions() {
    return {ShowMessageBox, ChooseSaveFile, OpenInBrowser};
}

} // namespace kestrun::win32
