#include "keys/key_code.h"

#include "image/hex_text.h"

namespace keys {

std::string keyCodeText(const KeyCode& code) {
    return image::toHexText(code);
}

std::optional<KeyCode> keyCodeFromText(std::string_view text) {
    if (text.size() != 8) return std::nullopt;
    const auto bytes = image::fromHexText(text);
    if (!bytes) return std::nullopt;
    return KeyCode{(*bytes)[0], (*bytes)[1], (*bytes)[2], (*bytes)[3]};
}

std::uint16_t macroSlotAddress(int slot) {
    return static_cast<std::uint16_t>(0x8000 + 0x400 * slot);
}

std::string macroKeyCodeText(int slot) {
    const std::uint16_t address = macroSlotAddress(slot);
    return keyCodeText({kTypeMacro, static_cast<std::uint8_t>(address >> 8),
                        static_cast<std::uint8_t>(address & 0xFF), 0x00});
}

}  // namespace keys
