#pragma once

#include <string>
#include <string_view>

namespace kestrun::win32 {

// Windows' wide characters are UTF-16 code units, as the controller's texts are.
inline const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

} // namespace kestrun::win32
