#include "res/resources.h"

#include <algorithm>
#include <cctype>

#include "res/resource_table.h"

namespace res {
namespace {

bool sameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::optional<Bytes> find(std::string_view type, std::string_view name) {
    for (std::size_t i = 0; i < detail::kTableSize; ++i) {
        const detail::TableEntry& e = detail::kTable[i];
        if (e.type != nullptr && sameName(e.type, type) && sameName(e.name, name)) {
            return Bytes(e.begin, static_cast<std::size_t>(e.end - e.begin));
        }
    }
    return std::nullopt;
}

std::optional<Bytes> findData(std::string_view name) {
    return find(kDataType, name);
}

}  // namespace res
