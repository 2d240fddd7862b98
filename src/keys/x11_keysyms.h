#pragma once
// X11 keysyms to Windows virtual-key codes, so that the Linux input layers deliver the same
// virtual-key codes as Windows does and the key tables serve every platform. Plain numbers:
// no X11 header is needed here.
#include <cstdint>

namespace keys {

// The virtual-key code of a keysym (US layout for punctuation); 0 for keysyms without one.
int keysymToVirtualKey(std::uint32_t keysym);

}  // namespace keys
