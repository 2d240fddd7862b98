#include "skin/layout_table.h"

#include <charconv>

#include "res/resources.h"
#include "skin/ini_lines.h"

namespace skin {

LayoutTable LayoutTable::parse(std::span<const std::uint8_t> bytes, std::string_view section) {
    LayoutTable table;
    IniSectionReader reader(section);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const auto entry = reader.feed(text.substr(start, end - start));
        start = end + 1;
        if (!entry) continue;
        const std::string lower = lowerAscii(entry->first);
        if (table.values_.count(lower)) continue;  // the first entry of a key counts
        table.values_.emplace(lower, std::string(entry->second));
        table.order_.emplace_back(entry->first);
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
