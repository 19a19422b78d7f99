#pragma once

#include "DialogView.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrun::win32 {

// What the window hands to the desktop: message boxes, the save dialog and the browser. Tests
// replace them, so that nothing waits for a person.
struct DesktopActions {
    std::function<void(HWND owner, MessageIcon icon, const std::u16string& text)> showMessage;
    std::function<std::optional<SaveChoice>(HWND owner, const std::u16string& caption,
                                            const std::vector<std::u16string>& filters,
                                            std::size_t chosenFilter)>
        chooseSaveFile;
    std::function<void(const std::string& address)> openUrl;
};

// MessageBoxW, GetSaveFileNameW and ShellExecuteW "open".
DesktopActions SystemDesktopActions();

} // namespace kestrun::win32
