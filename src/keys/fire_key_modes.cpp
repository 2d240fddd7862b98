#include "keys/fire_key_modes.h"

#include <charconv>
#include <optional>

namespace keys {
namespace {

// Digits only (the edits let nothing else in); nothing for an empty or non-numeric text.
std::optional<unsigned long> digits(const std::string& text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    unsigned long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

std::string correct(const std::string& text, unsigned long limit) {
    if (text.empty() || text == "1") return "2";
    const auto v = digits(text);
    if (v && *v > limit) return std::to_string(limit);
    return text;
}

}  // namespace

std::string correctRepeatText(const std::string& text) {
    return correct(text, 15);
}
std::string correctDelayText(const std::string& text) {
    return correct(text, 2000);
}

unsigned repeatValue(const std::string& text) {
    return static_cast<unsigned>(digits(correctRepeatText(text)).value_or(2));
}
unsigned delayValue(const std::string& text) {
    return static_cast<unsigned>(digits(correctDelayText(text)).value_or(2));
}

std::array<std::uint8_t, 4> fireKeyEntry(unsigned repeat, unsigned delay, std::uint8_t oldByte2) {
    return {0x06, static_cast<std::uint8_t>(repeat + 0x10),
            static_cast<std::uint8_t>((oldByte2 & 0xF0) + delay / 256),
            static_cast<std::uint8_t>(delay % 256)};
}

bool FireModeSelection::toggle(int mode) {
    if (mode < 1 || mode > 4) return false;
    if (selected(mode)) {
        if (modes_.size() == 1) return false;
        modes_.erase(mode);
        return true;
    }
    if (modes_.size() >= 3) return false;
    modes_.insert(mode);
    return true;
}

void FireModeSelection::takeFromCode(const std::array<std::uint8_t, 4>& code) {
    modes_.clear();
    for (std::size_t i = 1; i < 4; ++i) {
        if (code[i] >= 1 && code[i] <= 4) modes_.insert(code[i]);
    }
}

std::array<std::uint8_t, 4> FireModeSelection::code() const {
    std::array<std::uint8_t, 4> c{0x0F, 0, 0, 0};
    std::size_t i = 1;
    for (int m : modes_) {
        if (i < 4) c[i++] = static_cast<std::uint8_t>(m);
    }
    return c;
}

}  // namespace keys
