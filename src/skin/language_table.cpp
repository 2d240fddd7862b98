#include "skin/language_table.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "image/utf_text.h"
#include "res/resources.h"
#include "skin/ini_lines.h"

namespace skin {
namespace {

// Cuts the text into tokens at spaces and control characters; a token that begins with a
// double quote runs to its closing quote, and two quotes inside it stand for one.
std::vector<std::string> tokens(std::string_view text) {
    std::vector<std::string> out;
    std::size_t i = 0;
    const auto separator = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (i < text.size()) {
        if (separator(text[i])) {
            ++i;
            continue;
        }
        std::string token;
        if (text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        token.push_back('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                token.push_back(text[i++]);
            }
        } else {
            while (i < text.size() && !separator(text[i])) token.push_back(text[i++]);
        }
        out.push_back(std::move(token));
    }
    return out;
}

}  // namespace

std::string utf16leToUtf8(std::span<const std::uint8_t> bytes) {
    std::vector<char16_t> units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
    return image::utf16ToUtf8(units);
}

LanguageTable LanguageTable::parse(std::span<const std::uint8_t> bytes, std::string_view section) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) bytes = bytes.subspan(2);
    LanguageTable table;
    IniSectionReader reader(section);
    for (const std::string& token : tokens(utf16leToUtf8(bytes))) {
        const auto entry = reader.feed(token);
        if (!entry) continue;
        const std::string key = lowerAscii(entry->first);
        if (!table.entries_.count(key)) table.entries_.emplace(key, std::string(entry->second));
    }
    return table;
}

LanguageTable LanguageTable::load(int n) {
    const std::string name = "lang" + std::to_string(n);
    const auto bytes = res::findData(name);
    if (!bytes) return {};
    return parse(*bytes, name);
}

std::string LanguageTable::text(std::string_view key) const {
    const auto it = entries_.find(lowerAscii(key));
    return it == entries_.end() ? std::string() : it->second;
}

std::string FindStrKey(std::string_view text, const LanguageTable (&tables)[3]) {
    // Keys "Str0" to "Str600" as their numbers write them, in that order: the last match is the
    // highest number in the last table that has one. One pass over each table's entries.
    int found = -1;
    for (const LanguageTable& table : tables) {
        int inTable = -1;
        for (const auto& [key, value] : table.entries_) {
            if (value.empty() || value != text || !key.starts_with("str")) continue;
            const std::string_view digits = std::string_view(key).substr(3);
            int n = -1;
            const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
            const bool canonical = !digits.empty() && (digits[0] != '0' || digits.size() == 1);
            if (ec == std::errc() && end == digits.data() + digits.size() && canonical && n <= 600)
                inTable = std::max(inTable, n);
        }
        if (inTable >= 0) found = inTable;
    }
    return found < 0 ? std::string() : "Str" + std::to_string(found);
}

}  // namespace skin
