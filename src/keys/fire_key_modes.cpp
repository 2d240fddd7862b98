#include "keys/fire_key_modes.h"

#include <algorithm>
#include <optional>

#include "image/key_code_texts.h"
#include "image/sections.h"
#include "keys/key_code.h"

namespace keys {
namespace {

// Digits only (the edits let nothing else in); nothing for an empty or non-numeric text. A long
// run of digits saturates: it is above every limit all the same.
std::optional<unsigned long> digits(const std::string& text) {
    if (text.empty()) return std::nullopt;
    unsigned long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = std::min(v * 10 + static_cast<unsigned long>(c - '0'), 1000000ul);
    }
    return v;
}

std::string correct(const std::string& text, unsigned long limit) {
    if (text.empty() || text == "1") return "2";
    const auto v = digits(text);
    if (v && *v > limit) return std::to_string(limit);
    return text;
}

// `field` is the largest value the entry can hold for it: a text read back never exceeds it.
std::string toWrite(const std::string& text, const std::string& shown, unsigned long limit,
                    unsigned long field) {
    if (text == shown) {
        const auto v = digits(text);
        if (v && *v <= field) return text;
    }
    const std::string corrected = correct(text, limit);
    return digits(corrected) ? corrected : "2";
}

}  // namespace

std::string correctRepeatText(const std::string& text) {
    return correct(text, 15);
}
std::string correctDelayText(const std::string& text) {
    return correct(text, 2000);
}

std::string repeatTextToWrite(const std::string& text, const std::string& shown) {
    return toWrite(text, shown, 15, 0x0F);
}
std::string delayTextToWrite(const std::string& text, const std::string& shown) {
    return toWrite(text, shown, 2000, 0xFFF);
}

std::array<std::uint8_t, 4> fireKeyEntry(unsigned repeat, unsigned delay, std::uint8_t oldByte2) {
    return {0x06, static_cast<std::uint8_t>(repeat + 0x10),
            static_cast<std::uint8_t>((oldByte2 & 0xF0) + delay / 256),
            static_cast<std::uint8_t>(delay % 256)};
}

namespace {
std::size_t entryOffset(int mode) {
    return image::kFireKey.offset + 4 * static_cast<std::size_t>(mode - 1);
}
}  // namespace

FireKeyMode readFireKeyMode(const image::SectionBuf& s, int mode) {
    const std::size_t at = entryOffset(mode);
    return {static_cast<unsigned>(s[at + 1] & 0x0F),
            static_cast<unsigned>((s[at + 2] & 0x0F) * 256 + s[at + 3])};
}

void writeFireKeyMode(image::SectionBuf& s, int mode, unsigned repeat, unsigned delay) {
    const std::size_t at = entryOffset(mode);
    const auto entry = fireKeyEntry(repeat, delay, s[at + 2]);
    std::copy(entry.begin(), entry.end(), s.begin() + static_cast<std::ptrdiff_t>(at));
}

bool takeFireModes(const image::EditorImage& img, FireModeSelection& selection) {
    bool found = false;
    for (std::size_t p = 0; p < image::kProfileCount; ++p) {
        for (std::size_t b = 0; b < image::kButtonCount; ++b) {
            if (!isFireModeCode(img.keyCodeTexts[p][b])) continue;
            const std::size_t at = image::keyCodeOffset(p, b);
            const auto& s = img.sectionBuf;
            selection.takeFromCode({s[at], s[at + 1], s[at + 2], s[at + 3]});
            found = true;
        }
    }
    return found;
}

void writeFireModes(image::EditorImage& img, const FireModeSelection& selection) {
    const auto code = selection.code();
    for (std::size_t p = 0; p < image::kProfileCount; ++p) {
        for (std::size_t b = 0; b < image::kButtonCount; ++b) {
            if (!isFireModeCode(img.keyCodeTexts[p][b])) continue;
            std::copy(
                code.begin(), code.end(),
                img.sectionBuf.begin() + static_cast<std::ptrdiff_t>(image::keyCodeOffset(p, b)));
        }
    }
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
