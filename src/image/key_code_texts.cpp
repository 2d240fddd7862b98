#include "image/key_code_texts.h"

#include <span>

#include "image/hex_text.h"
#include "image/sections.h"

namespace image {

void clearKeyCodeTexts(KeyCodeTexts& texts) {
    for (auto& profile : texts) {
        for (auto& text : profile) text.clear();
    }
}

std::size_t keyCodeOffset(std::size_t profile, std::size_t button) {
    return kProfile.offset + (profile * kButtonCount + button) * kKeyCodeSize;
}

void renderKeyCodeTexts(const SectionBuf& buf, KeyCodeTexts& texts) {
    for (std::size_t p = 0; p < kProfileCount; ++p) {
        for (std::size_t b = 0; b < kButtonCount; ++b) {
            texts[p][b] =
                toHexText(std::span<const Byte>(buf).subspan(keyCodeOffset(p, b), kKeyCodeSize));
        }
    }
}

}  // namespace image
