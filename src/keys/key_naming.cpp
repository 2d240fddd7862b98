#include "keys/key_naming.h"

#include <charconv>

#include "keys/fire_key_modes.h"
#include "keys/key_code.h"
#include "keys/key_tables.h"

namespace keys {
namespace {

struct FixedCode {
    int tag;
    std::string_view code;
    std::string_view nameKey;
    std::string_view word;  // the command line's name, the same in every language
};

// Menu tags with a fixed code. Mouse buttons and ACPI are named before the fire-key functions,
// the rest after them, so the table is split where the naming order splits it.
constexpr FixedCode kNamedFirst[] = {
    {900, "01010000", "Str210", "mouse:left"},    {901, "01020000", "Str211", "mouse:right"},
    {902, "01040000", "Str212", "mouse:middle"},  {903, "01080000", "Str213", "mouse:backward"},
    {904, "01100000", "Str214", "mouse:forward"}, {1100, "04010000", "Str221", "power:power"},
    {1101, "04020000", "Str222", "power:sleep"},  {1102, "04030000", "Str223", "power:wake-up"},
};
constexpr FixedCode kNamedLater[] = {
    {1001, "05000000", "Str241", "aim"},
    {1002, "07000000", "Str242", "keyboard-switch"},
    {1003, "09000000", "Str243", "cpi"},
    {1004, "0C000000", "Str244", "report-rate"},
    {1005, "0D000000", "Str245", "keyboard-reset"},
    {1006, "0E000000", "Str246", "led-mode"},
    {1007, "09010000", "Str247", "cpi-up"},
    {1008, "09020000", "Str248", "cpi-down"},
    {1300, "0300CD00", "Str250", "media:play-pause"},
    {1301, "0300B700", "Str251", "media:stop"},
    {1302, "0300B600", "Str252", "media:previous-track"},
    {1303, "0300B500", "Str253", "media:next-track"},
    {1304, "0300E900", "Str254", "media:volume-up"},
    {1305, "0300EA00", "Str255", "media:volume-down"},
    {1306, "0300E200", "Str256", "media:mute"},
    {1400, "03022300", "Str260", "web:home"},
    {1401, "03022100", "Str261", "web:search"},
    {1402, "03022400", "Str262", "web:back"},
    {1403, "03022500", "Str263", "web:forward"},
    {1404, "03022600", "Str264", "web:stop"},
    {1405, "03022700", "Str265", "web:refresh"},
    {1406, "03022A00", "Str266", "web:favorites"},
};
constexpr int kFireModeTag = 1000;
constexpr std::string_view kFireModeCode = "0F000000";
constexpr int kFireKeyTagFirst = 1200;

// A decimal number made of digits only; edits hold at most four digits, longer texts are not
// numbers the mouse could take.
std::optional<unsigned> decimal(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

template <std::size_t N, typename Pred>
const FixedCode* findFixed(const FixedCode (&table)[N], Pred matches) {
    for (const FixedCode& f : table) {
        if (matches(f)) return &f;
    }
    return nullptr;
}

template <std::size_t N>
const FixedCode* byCode(const FixedCode (&table)[N], std::string_view code) {
    return findFixed(table, [&](const FixedCode& f) { return f.code == code; });
}

std::string combinationName(const KeyCode& code) {
    std::string name;
    if (code[1] & 0x01) name += "Ctrl+";
    if (code[1] & 0x02) name += "Shift+";
    if (code[1] & 0x04) name += "Alt+";
    if (code[1] & 0x08) name += "Win+";
    if (code[2] != 0) name += KeyUsageToKeyName(code[2]);
    if (code[3] != 0) {
        if (code[2] != 0) name += "+";
        name += KeyUsageToKeyName(code[3]);
    }
    return name;
}

}  // namespace

std::optional<std::string> fixedFunctionWord(std::string_view codeText) {
    const FixedCode* f = byCode(kNamedFirst, codeText);
    if (!f) f = byCode(kNamedLater, codeText);
    if (!f) return std::nullopt;
    return std::string(f->word);
}

std::optional<std::string> fixedFunctionCode(std::string_view word) {
    const auto named = [word](const FixedCode& f) { return f.word == word; };
    const FixedCode* f = findFixed(kNamedFirst, named);
    if (!f) f = findFixed(kNamedLater, named);
    if (!f) return std::nullopt;
    return std::string(f->code);
}

std::vector<std::string> fixedFunctionWords() {
    std::vector<std::string> words;
    for (const FixedCode& f : kNamedFirst) words.emplace_back(f.word);
    for (const FixedCode& f : kNamedLater) words.emplace_back(f.word);
    return words;
}

std::optional<std::string> fireKeyCodeText(const FireKeyModeSettings& settings, int mode) {
    const auto repeat = decimal(settings.repeatText(mode));
    const auto delay = decimal(settings.delayText(mode));
    if (!repeat || !delay) return std::nullopt;
    return keyCodeText(fireKeyEntry(*repeat, *delay, settings.fireKeyByte2(mode)));
}

std::string TagToKeyCode(int tag, const FireKeyModeSettings& settings) {
    if (tag == kFireModeTag) return std::string(kFireModeCode);
    if (tag >= kFireKeyTagFirst && tag < kFireKeyTagFirst + 4) {
        return fireKeyCodeText(settings, tag - kFireKeyTagFirst + 1).value_or(std::string());
    }
    const auto hasTag = [tag](const FixedCode& f) { return f.tag == tag; };
    const FixedCode* f = findFixed(kNamedFirst, hasTag);
    if (!f) f = findFixed(kNamedLater, hasTag);
    return f ? std::string(f->code) : std::string();
}

std::string KeyCodeToName(std::string_view codeText, const LanguageTexts& language,
                          const FireKeyModeSettings& settings, const MacroNames& macros) {
    if (const FixedCode* f = byCode(kNamedFirst, codeText)) return language.text(f->nameKey);

    if (codeText.starts_with("06")) {
        for (int mode = 1; mode <= 4; ++mode) {
            if (fireKeyCodeText(settings, mode) == codeText) {
                return language.text("Str23" + std::to_string(mode));
            }
        }
    }
    if (codeText.starts_with("0F")) return language.text("Str240");
    if (const FixedCode* f = byCode(kNamedLater, codeText)) return language.text(f->nameKey);

    const auto code = keyCodeFromText(codeText);
    if (!code) return {};
    if ((*code)[0] == kTypeCombination) return combinationName(*code);
    if ((*code)[0] == kTypeMacro) {
        const auto address = static_cast<std::uint16_t>((*code)[1] << 8 | (*code)[2]);
        return macros.nameAtAddress(address).value_or(std::string());
    }
    return {};
}

}  // namespace keys
