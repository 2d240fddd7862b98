#include "skin/language_table.h"

#include <vector>

#include "res/resources.h"
#include "skin/ini_lines.h"

namespace skin {
namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

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
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = static_cast<char32_t>(bytes[i] | bytes[i + 1] << 8);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = static_cast<char32_t>(bytes[i + 2] | bytes[i + 3] << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                c = 0xFFFD;
            }
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
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
    std::string found;
    for (const LanguageTable& table : tables) {
        for (int n = 0; n <= 600; ++n) {
            const std::string key = "Str" + std::to_string(n);
            const std::string value = table.text(key);
            if (!value.empty() && value == text) found = key;
        }
    }
    return found;
}

}  // namespace skin
