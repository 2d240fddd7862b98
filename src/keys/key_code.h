#pragma once
// Key function codes: four bytes that give a button its function, type byte first. The editor
// keeps them as eight upper-case hex digits ("01020000"), and compares codes as those texts.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace keys {

using KeyCode = std::array<std::uint8_t, 4>;

std::string keyCodeText(const KeyCode& code);

// The bytes of a code text; nothing unless the text is exactly eight hex digits.
std::optional<KeyCode> keyCodeFromText(std::string_view text);

// Function types (byte 0).
enum FunctionType : std::uint8_t {
    kTypeNone = 0x00,
    kTypeMouseButton = 0x01,
    kTypeCombination = 0x02,
    kTypeConsumer = 0x03,
    kTypeAcpi = 0x04,
    kTypeAim = 0x05,
    kTypeFireKey = 0x06,
    kTypeKeyboardSwitch = 0x07,
    kTypeCpi = 0x09,
    kTypeReportRate = 0x0C,
    kTypeKeyboardReset = 0x0D,
    kTypeLedMode = 0x0E,
    kTypeFireMode = 0x0F,
    kTypeMacro = 0x10,
};

// A fire-mode function is told by its type byte alone: its name can also be a macro's.
inline bool isFireModeCode(std::string_view codeText) {
    return codeText.size() == 8 && codeText.starts_with("0F");
}

// The functions that open the Alternate Key and Reset Control pages.
constexpr std::string_view kKeyboardSwitchCode = "07000000";
constexpr std::string_view kKeyboardResetCode = "0D000000";

// Macro slot s (0-31) lives at device address 0x8000 + 0x400 * s.
std::uint16_t macroSlotAddress(int slot);
// "10" + address + "00".
std::string macroKeyCodeText(int slot);

}  // namespace keys
