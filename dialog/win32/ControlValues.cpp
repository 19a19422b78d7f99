#include "ControlValues.h"

#include "WideText.h"

#include <commctrl.h>

namespace kestrun::win32 {

std::u16string WindowText(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return FromWide(text);
}

Ipv4Octets AddressOf(HWND field) {
    DWORD address = 0;
    SendMessageW(field, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return {static_cast<std::uint8_t>(FIRST_IPADDRESS(address)),
            static_cast<std::uint8_t>(SECOND_IPADDRESS(address)),
            static_cast<std::uint8_t>(THIRD_IPADDRESS(address)),
            static_cast<std::uint8_t>(FOURTH_IPADDRESS(address))};
}

bool IsPartlyFilled(HWND field) {
    DWORD address = 0;
    // The message answers how many of the four numbers are not blank.
    const LRESULT filled =
        SendMessageW(field, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return filled > 0 && filled < 4;
}

void SetAddress(HWND field, const Ipv4Octets& address) {
    SendMessageW(
        field, IPM_SETADDRESS, 0,
        static_cast<LPARAM>(MAKEIPADDRESS(address[0], address[1], address[2], address[3])));
}

} // namespace kestrun::win32
