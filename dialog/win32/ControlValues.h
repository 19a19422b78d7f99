#pragma once

#include "SharedSettings.h"

#include <windows.h>

#include <string>

namespace kestrun::win32 {

// What the standard controls hold, in the controllers' terms.

// An edit's or a label's text.
std::u16string WindowText(HWND control);
// An IPv4 address field's four octets, first octet first; 0.0.0.0 when empty.
Ipv4Octets AddressOf(HWND field);
void SetAddress(HWND field, const Ipv4Octets& address);
// Some of the field's four numbers given, not all: no address, and not empty either.
bool IsPartlyFilled(HWND field);

} // namespace kestrun::win32
