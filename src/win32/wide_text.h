#pragma once
// UTF-8 inside the program, UTF-16 at the Win32 API.
#include <string>

#include "image/utf_text.h"

namespace win32ui {

inline std::wstring wide(const std::string& text) {
    const auto units = image::utf8ToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

inline std::string narrow(const wchar_t* text) {
    std::vector<char16_t> units;
    for (; text && *text; ++text) units.push_back(static_cast<char16_t>(*text));
    return image::utf16ToUtf8(units);
}

}  // namespace win32ui
