#pragma once
// UTF-8, the program's text inside, and UTF-16, the text of language tables and macro names.
#include <string>
#include <vector>

namespace image {

void appendUtf8(std::string& out, char32_t c);
// Code units to UTF-8; unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(const std::vector<char16_t>& units);
// UTF-8 to code units; invalid bytes become U+FFFD.
std::vector<char16_t> utf8ToUtf16(const std::string& text);

}  // namespace image
