#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

namespace vanmoor::test {

// Whether a Windows test program runs under Wine, whose XmlLite differs from that of Windows:
// it resolves a prefix declared again on an inner element to its outer URI, and reads no UTF-16
// of big-endian byte order. Header-only, for the unit tests built without the support library.
inline bool UnderWine() {
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

} // namespace vanmoor::test
