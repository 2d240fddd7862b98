#include "skin/ini_lines.h"

namespace skin {

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string_view trimBlanks(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::optional<std::pair<std::string_view, std::string_view>> IniSectionReader::feed(
    std::string_view raw) {
    const std::string_view line = trimBlanks(raw);
    if (line.empty() || line.front() == ';') return std::nullopt;
    if (line.front() == '[' && line.back() == ']') {
        inSection_ = lowerAscii(line.substr(1, line.size() - 2)) == wanted_;
        return std::nullopt;
    }
    const std::size_t eq = line.find('=');
    if (!inSection_ || eq == std::string_view::npos) return std::nullopt;
    const std::string_view key = trimBlanks(line.substr(0, eq));
    if (key.empty()) return std::nullopt;
    return std::pair{key, trimBlanks(line.substr(eq + 1))};
}

}  // namespace skin
