#include "keys/function_words.h"

#include <cctype>
#include <vector>

#include "image/sections.h"
#include "keys/fire_key_modes.h"
#include "keys/key_code.h"
#include "keys/key_naming.h"
#include "keys/key_tables.h"

namespace keys {
namespace {

constexpr const char* kModifiers[] = {"ctrl", "shift", "alt", "win"};

// A key's name as one lower-case word: "Left Arrow" is "left-arrow".
std::string keyWord(std::uint8_t usage) {
    std::string word;
    for (char c : KeyUsageToKeyName(usage))
        word += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word;
}

std::uint8_t usageOfWord(std::string_view word) {
    for (int usage = 1; usage < 256; ++usage) {
        const std::string name = keyWord(static_cast<std::uint8_t>(usage));
        if (!name.empty() && name == word) return static_cast<std::uint8_t>(usage);
    }
    return 0;
}

// Mode N's fire-key function, as the menu would pick it now.
std::string fireKeyFunction(const image::SectionBuf& s, int mode) {
    const FireKeyMode m = readFireKeyMode(s, mode);
    const std::size_t byte2 = image::kFireKey.offset + 4 * static_cast<std::size_t>(mode - 1) + 2;
    return keyCodeText(fireKeyEntry(m.repeat, m.delay, s[byte2]));
}

std::string lower(std::string_view text) {
    std::string out;
    for (char c : text) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

FunctionPick refused(std::string error) {
    return {{}, std::move(error)};
}

FunctionPick combination(std::string_view keysText) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (true) {
        const std::size_t plus = keysText.find('+', from);
        parts.push_back(lower(keysText.substr(from, plus - from)));
        if (plus == std::string_view::npos) break;
        from = plus + 1;
    }
    std::uint8_t modifiers = 0;
    std::size_t at = 0;
    // Modifiers lead; the last one or two words are the keys.
    for (; at < parts.size(); ++at) {
        int bit = -1;
        for (int m = 0; m < 4; ++m) {
            if (parts[at] == kModifiers[m]) bit = m;
        }
        if (bit < 0 || (at + 1 == parts.size() && modifiers != 0 && usageOfWord(parts[at]))) break;
        modifiers = static_cast<std::uint8_t>(modifiers | 1 << bit);
    }
    const std::size_t keyCount = parts.size() - at;
    if (keyCount == 0)
        return refused("a combination needs a key after its modifiers, as in keys:ctrl+shift+b");
    if (keyCount > 2)
        return refused(
            "a combination holds at most two keys besides ctrl, shift, "
            "alt and win, as in keys:ctrl+a+b");
    KeyCode code{kTypeCombination, modifiers, 0, 0};
    for (std::size_t k = 0; k < keyCount; ++k) {
        const std::uint8_t usage = usageOfWord(parts[at + k]);
        if (usage == 0)
            return refused("\"" + parts[at + k] +
                           "\" is no key the mouse can send; keys are named as in a, f1, "
                           "space-bar, left-arrow, page-up, 0-(numeric-pad)");
        code[2 + k] = usage;
    }
    return {keyCodeText(code), {}};
}

}  // namespace

std::optional<int> wordNumber(std::string_view text, int limit) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v > limit) return std::nullopt;
    return v;
}

std::string functionWord(std::string_view codeText, const image::SectionBuf& s) {
    if (codeText == "00000000") return "none";
    if (const auto word = fixedFunctionWord(codeText)) return *word;
    const auto code = keyCodeFromText(codeText);
    if (code && (*code)[0] == kTypeFireKey) {
        for (int mode = 1; mode <= 4; ++mode) {
            if (fireKeyFunction(s, mode) == codeText) return "fire:" + std::to_string(mode);
        }
    }
    if (code && (*code)[0] == kTypeFireMode) return "fire-mode";
    if (code && (*code)[0] == kTypeCombination && ((*code)[2] != 0 || (*code)[3] != 0)) {
        std::string word = "keys:";
        for (int m = 0; m < 4; ++m) {
            if ((*code)[1] & (1 << m)) word += std::string(kModifiers[m]) + "+";
        }
        bool named = true;
        for (std::size_t k = 2; k < 4; ++k) {
            if ((*code)[k] == 0) continue;
            const std::string key = keyWord((*code)[k]);
            named &= !key.empty();
            word += key + "+";
        }
        word.pop_back();
        if (named) return word;
    }
    if (code && (*code)[0] == kTypeMacro && (*code)[3] == 0) {
        for (int slot = 0; slot < static_cast<int>(image::kMacroCount); ++slot) {
            if (macroKeyCodeText(slot) == codeText) return "macro:" + std::to_string(slot + 1);
        }
    }
    return "code:" + std::string(codeText);
}

FunctionPick functionOfWord(std::string_view word, int button, const image::SectionBuf& s,
                            bool macroMouse) {
    if (button <= 3) {
        if (word == "mouse:left" || word == "mouse:right" || word == "mouse:middle")
            return {*fixedFunctionCode(word), {}};
        return refused(
            "buttons 1 to 3 take mouse:left, mouse:right or mouse:middle (the button "
            "that held it gets this one's function)");
    }
    if (const auto code = fixedFunctionCode(word)) return {*code, {}};
    if (word == "fire-mode") return {"0F000000", {}};
    if (word.starts_with("fire:")) {
        const auto mode = wordNumber(word.substr(5), 999);
        if (!mode || *mode < 1 || *mode > 4) return refused("fire-key modes are fire:1 to fire:4");
        return {fireKeyFunction(s, *mode), {}};
    }
    if (word.starts_with("macro:")) {
        if (!macroMouse) return refused("this mouse keeps no macros");
        const auto slot = wordNumber(word.substr(6), 999);
        if (!slot || *slot < 1 || *slot > static_cast<int>(image::kMacroCount))
            return refused("macros are macro:1 to macro:32");
        return {macroKeyCodeText(*slot - 1), {}};
    }
    if (word.starts_with("keys:")) return combination(word.substr(5));
    std::string allowed;
    for (const std::string& w : fixedFunctionWords()) allowed += w + ", ";
    return refused("\"" + std::string(word) + "\" is no function; functions are " + allowed +
                   "fire:1 to fire:4, fire-mode, keys:MODIFIERS+KEY (as keys:ctrl+shift+b) and "
                   "macro:1 to macro:32");
}

}  // namespace keys
