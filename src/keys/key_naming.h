#pragma once
// Menu tags to key function codes, and key function codes to the names buttons show.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keys {

// The current language table: the text of a key such as "Str210" (empty when missing).
class LanguageTexts {
  public:
    virtual ~LanguageTexts() = default;
    virtual std::string text(std::string_view key) const = 0;
};

// The settings of the four fire-key modes (1-4) as the next composition writes them.
class FireKeyModeSettings {
  public:
    virtual ~FireKeyModeSettings() = default;
    virtual std::string repeatText(int mode) const = 0;
    virtual std::string delayText(int mode) const = 0;
    // Byte 2 of the mode's entry in the FireKey section.
    virtual std::uint8_t fireKeyByte2(int mode) const = 0;
};

// The macro names of the macro list, by the device address of their slot.
class MacroNames {
  public:
    virtual ~MacroNames() = default;
    virtual std::optional<std::string> nameAtAddress(std::uint16_t address) const = 0;
};

// The fire-key function of mode 1-4 from the current settings: "06", repeat + 0x10, then the
// delay over byte 2's high four bits, exactly as the FireKey entry of that mode is written.
// Nothing when the repeat or delay text is not a decimal number: no code is made from it.
std::optional<std::string> fireKeyCodeText(const FireKeyModeSettings& settings, int mode);

// The code of a menu item's tag; empty for tags not in the menu table.
std::string TagToKeyCode(int tag, const FireKeyModeSettings& settings);

// The name shown on a button for a code text, in the current language; may be empty.
std::string KeyCodeToName(std::string_view codeText, const LanguageTexts& language,
                          const FireKeyModeSettings& settings, const MacroNames& macros);

// The fixed English words that name the menu's fixed codes on the command line
// ("mouse:left", "media:volume-up", "cpi-up"), and back; nothing for other codes or words.
std::optional<std::string> fixedFunctionWord(std::string_view codeText);
std::optional<std::string> fixedFunctionCode(std::string_view word);
std::vector<std::string> fixedFunctionWords();

}  // namespace keys
