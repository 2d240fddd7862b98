#pragma once
// Key names from the X display's current keyboard layout, through xkbcommon.
#include <memory>

#include "keys/key_layout.h"

namespace keys {

// The namer of the display's layout, following layout changes while it lives; null when no
// display answers or it has no keyboard extension. `display` null means $DISPLAY.
std::shared_ptr<const KeyNamer> makeXkbKeyNamer(const char* display = nullptr);

}  // namespace keys
