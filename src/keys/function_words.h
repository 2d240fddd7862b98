#pragma once
// Button functions as words a terminal user types: "mouse:left", "media:volume-up",
// "keys:ctrl+shift+b", "fire:2", "macro:3", "fire-mode". The same fixed English words in
// every language of the window.
#include <optional>
#include <string>
#include <string_view>

#include "image/image_types.h"

namespace keys {

// A number as a terminal user types it: decimal digits only, at most `limit`.
std::optional<int> wordNumber(std::string_view text, int limit);

// The word of a code text. A fire-key function is "fire:N" while it equals mode N's entry in
// the FireKey section; a code no word names is "code:" and its eight digits.
std::string functionWord(std::string_view codeText, const image::SectionBuf& s);

struct FunctionPick {
    std::string code;   // the code text the window's menus would store
    std::string error;  // why the word is refused, naming what is allowed
};
// What the window lets a button pick: buttons 1-3 only the three basic mouse buttons; macros
// 1-32 only on a mouse that keeps macros; a combination needs a key.
FunctionPick functionOfWord(std::string_view word, int button, const image::SectionBuf& s,
                            bool macroMouse);

}  // namespace keys
