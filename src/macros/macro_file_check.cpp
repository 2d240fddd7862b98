#include "macros/macro_file_check.h"

#include <algorithm>

namespace macros {
namespace {

constexpr std::uint16_t kErasedLength = 0xFFFF;
constexpr Byte kErasedNameLength = 0xFF;

bool highSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool lowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

std::optional<MacroDamage> checkName(std::span<const Byte> record) {
    const std::size_t length = record[3];
    const auto field = record.subspan(4, kNameBytes);
    if (length == kErasedNameLength && std::ranges::all_of(field, [](Byte b) { return b == 0xFF; }))
        return std::nullopt;
    if (length % 2 != 0 || length > kNameBytes)
        return MacroDamage{MacroDamage::Kind::NameLength, length};
    for (std::size_t i = 0; i < length; i += 2) {
        const auto unit = static_cast<char16_t>(field[i] << 8 | field[i + 1]);
        if (lowSurrogate(unit)) return MacroDamage{MacroDamage::Kind::NameText};
        if (!highSurrogate(unit)) continue;
        const bool paired =
            i + 2 < length && lowSurrogate(static_cast<char16_t>(field[i + 2] << 8 | field[i + 3]));
        if (!paired) return MacroDamage{MacroDamage::Kind::NameText};
        i += 2;
    }
    return std::nullopt;
}

}  // namespace

std::optional<MacroDamage> checkMacro(std::span<const Byte> record, std::span<const Byte> block) {
    if (record.size() < kRecordSize || block.size() < kBlockSize)
        return MacroDamage{MacroDamage::Kind::DataLength};
    if (auto damage = checkName(record)) return damage;
    const std::size_t length = dataLength(record);
    if (length == 0 || length == kErasedLength) return std::nullopt;  // no events
    if (length > kBlockSize) return MacroDamage{MacroDamage::Kind::DataLength, length};
    std::size_t i = 0;
    while (i < length - 1) {
        const std::size_t event = eventLength(block[i]);
        if (event == 0 || block[i] == kEndMark) break;
        i += event;
    }
    if (i != length - 1 || block[i] != kEndMark)
        return MacroDamage{MacroDamage::Kind::Events, length};
    return std::nullopt;
}

}  // namespace macros
