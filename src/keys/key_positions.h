#pragma once
// Key positions: which key of the key tables lies where on the keyboard, whatever the layout
// makes it type. A position is known by its Linux evdev code (X11 keycodes are that + 8) and by
// its PC scan code (0xE0xx for the keys sent with the E0 prefix, 0xE11D for Pause). The key
// index is the one a US keyboard has there; its usage is what the mouse sends for the position.
#include <cstdint>

#include "keys/key_tables.h"

namespace keys {

inline constexpr int kScanE0 = 0xE000;
inline constexpr int kScanPause = 0xE11D;

// kh_None for positions not in the table (media keys, the Japanese and Brazilian extra keys).
TKeyboardHookKey EvdevCodeToKeyIndex(int evdevCode);
TKeyboardHookKey ScanCodeToKeyIndex(int scanCode);
// -1 for keys without a position.
int KeyIndexToEvdevCode(int keyIndex);
int KeyIndexToScanCode(int keyIndex);

// The virtual-key code a US keyboard has at a position, or 0 when the position is not in the
// table: what the window model's key events and the recorder carry.
int evdevCodeToPositionKey(int evdevCode);
int scanCodeToPositionKey(int scanCode);

// The scan code of a Windows key message's lParam (bits 16-23, extended flag bit 24). NumLock
// comes extended there and Pause not, unlike their raw input.
int scanCodeOfKeyMessage(std::uint32_t lParam);
// The scan code of a raw keyboard input: MakeCode and the RI_KEY_E0 (2) and RI_KEY_E1 (4) flags.
int scanCodeOfRawInput(std::uint16_t makeCode, std::uint16_t flags);

}  // namespace keys
