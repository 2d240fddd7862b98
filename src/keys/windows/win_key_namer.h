#pragma once
// Key names from the keyboard layout of the foreground window.
#include <memory>

#include "keys/key_layout.h"

namespace keys {

std::shared_ptr<const KeyNamer> makeWindowsKeyNamer();

}  // namespace keys
