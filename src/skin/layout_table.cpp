#include "skin/layout_table.h"

#include <charconv>

#include "res/resources.h"

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

LayoutTable LayoutTable::parse(std::span<const std::uint8_t> bytes, std::string_view section) {
    LayoutTable table;
    const std::string wanted = lowerAscii(section);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    bool inSection = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trimBlanks(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            inSection = lowerAscii(line.substr(1, line.size() - 2)) == wanted;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inSection || eq == std::string_view::npos) continue;
        const std::string_view key = trimBlanks(line.substr(0, eq));
        if (key.empty()) continue;
        const std::string lower = lowerAscii(key);
        if (table.values_.count(lower)) continue;  // the first entry of a key counts
        table.values_.emplace(lower, std::string(trimBlanks(line.substr(eq + 1))));
        table.order_.emplace_back(key);
    }
    return table;
}

LayoutTable LayoutTable::load(int n) {
    const std::string name = n == 0 ? "org" : "org" + std::to_string(n);
    const auto bytes = res::findData(name);
    if (!bytes) return {};
    return parse(*bytes, name);
}

std::optional<long> LayoutTable::number(std::string_view key) const {
    const auto it = values_.find(lowerAscii(key));
    if (it == values_.end()) return std::nullopt;
    const std::string& v = it->second;
    long value = 0;
    const char* first = v.data();
    if (!v.empty() && v[0] == '+') ++first;
    const auto [end, ec] = std::from_chars(first, v.data() + v.size(), value);
    if (ec != std::errc() || end != v.data() + v.size() || first == v.data() + v.size())
        return std::nullopt;
    return value;
}

std::string LayoutTable::text(std::string_view key) const {
    const auto it = values_.find(lowerAscii(key));
    return it == values_.end() ? std::string() : it->second;
}

}  // namespace skin
