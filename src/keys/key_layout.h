#pragma once
// What the user's keyboard layout types at a key position: the name a printable key is shown
// by. Platform layers implement it for the desktop's current layout; without one (no display,
// the tests) the US layout names the keys.
#include <functional>
#include <memory>
#include <string>

#include "keys/key_tables.h"

namespace keys {

class KeyNamer {
  public:
    virtual ~KeyNamer() = default;
    // What the key at this position types with no modifier held, in upper case (UTF-8); for a
    // dead key its accent. Empty when the layout types nothing printable there.
    virtual std::string printableName(TKeyboardHookKey key) const = 0;
};

// The US layout.
const KeyNamer& usKeyNamer();

// The namer every key name comes from; null restores the US layout. Used on the UI thread.
void setKeyNamer(std::shared_ptr<const KeyNamer> namer);
const KeyNamer& keyNamer();
// Installs the namer that `make` returns when a key is first named (null: the US layout). Opening
// the display's keymap is work that start-up does not need before its first paint.
void setKeyNamerWhenNeeded(std::function<std::shared_ptr<const KeyNamer>()> make);

// The keys whose character the layout moves: letters, digits and punctuation of the main
// block. Every other key keeps the table's name.
bool namedByLayout(int keyIndex);

// A character as a key name: printable, and not a space or control character. Empty otherwise.
std::string printableText(char32_t ch);

}  // namespace keys
