#pragma once
// The program's own numbering of keyboard keys (the key index) and its conversions between
// Windows virtual-key codes, key names and key usages (the one-byte key code the mouse sends).
#include <cstdint>
#include <string>

namespace keys {

enum TKeyboardHookKey : std::uint8_t {
    kh_None,  // 0
    kh_Demo,
    kh_255,
    kh_Back,
    kh_Tab,
    kh_Clear,
    kh_Return,
    kh_Shift,
    kh_Control,
    kh_Alt,
    kh_Pause,  // 10
    kh_Capital,
    kh_Escape,
    kh_Space,
    kh_Prior,
    kh_Next,
    kh_End,
    kh_Home,
    kh_Left,
    kh_Up,
    kh_Right,  // 20
    kh_Down,
    kh_Select,
    kh_Snapshot,
    kh_Insert,
    kh_Delete,
    kh_Help,
    kh_LWIN,
    kh_RWIN,
    kh_APPS,
    kh_Numpad0,  // 30
    kh_Numpad1,
    kh_Numpad2,
    kh_Numpad3,
    kh_Numpad4,
    kh_Numpad5,
    kh_Numpad6,
    kh_Numpad7,
    kh_Numpad8,
    kh_Numpad9,
    kh_Multiply,  // 40
    kh_Add,
    kh_Separator,
    kh_Subtract,
    kh_Decimal,
    kh_Divide,
    kh_F1,
    kh_F2,
    kh_F3,
    kh_F4,
    kh_F5,  // 50
    kh_F6,
    kh_F7,
    kh_F8,
    kh_F9,
    kh_F10,
    kh_F11,
    kh_F12,
    kh_F13,
    kh_F14,
    kh_F15,  // 60
    kh_F16,
    kh_F17,
    kh_F18,
    kh_F19,
    kh_F20,
    kh_F21,
    kh_F22,
    kh_F23,
    kh_F24,
    kh_Numlock,  // 70
    kh_Scroll,
    kh_LShift,
    kh_RShift,
    kh_LControl,
    kh_RControl,
    kh_LAlt,
    kh_RAlt,
    kh_A,
    kh_B,
    kh_C,  // 80
    kh_D,
    kh_E,
    kh_F,
    kh_G,
    kh_H,
    kh_I,
    kh_J,
    kh_K,
    kh_L,
    kh_M,  // 90
    kh_N,
    kh_O,
    kh_P,
    kh_Q,
    kh_R,
    kh_S,
    kh_T,
    kh_U,
    kh_V,
    kh_W,  // 100
    kh_X,
    kh_Y,
    kh_Z,
    kh_0,
    kh_1,
    kh_2,
    kh_3,
    kh_4,
    kh_5,
    kh_6,  // 110
    kh_7,
    kh_8,
    kh_9,
    kh_OEM_1,
    kh_OEM_2,
    kh_OEM_3,
    kh_OEM_4,
    kh_OEM_5,
    kh_OEM_6,
    kh_OEM_7,  // 120
    kh_OEM_8,
    kh_OEM_Plus,
    kh_OEM_Comma,
    kh_OEM_Minus,
    kh_OEM_Period,
    kh_Browser_Back,
    kh_Browser_Forward,
    kh_Browser_Refresh,
    kh_Browser_Stop,
    kh_Browser_Search,  // 130
    kh_Browser_Favorites,
    kh_Browser_Home,
    kh_Volume_Mute,
    kh_Volume_Down,
    kh_Volume_Up,
    kh_Media_Next_Track,
    kh_Media_Prev_Track,
    kh_Media_Stop,
    kh_Media_Play_Pause,
    kh_Launch_Mail,  // 140
    kh_Launch_Media_Select,
    kh_Launch_App1,
    kh_Launch_App2,
    kh_Return_KP,  // 144: produced by no table; has neither name nor usage
    kh_OEM_102,    // 145: the key beside Left Shift on ISO keyboards ("<>" in France and Germany)
};

inline constexpr int kKeyIndexCount = 146;

// Key index of a Windows virtual-key code; kh_None for codes the table does not list.
TKeyboardHookKey VirtualKeyToKeyIndex(int virtualKey);

// "None" for kh_None; empty for kh_Return_KP and unknown indexes. Keys that type a character
// are named by what they type in the current layout (keys/key_layout.h), in upper case.
std::string KeyIndexToKeyName(int keyIndex);

// The table's own name of a key, whatever the layout ("OEM_1", "Enter").
std::string KeyIndexToTableName(int keyIndex);

// HID Keyboard-page usage of the key, or the program's own 0xC0-0xD1 for browser and media
// keys; 0 for keys the mouse has no code for.
std::uint8_t KeyIndexToKeyUsage(int keyIndex);

// The name of a usage as buttons show it (by the current layout, as KeyIndexToKeyName); empty
// for 0 and for usages no key produces.
std::string KeyUsageToKeyName(std::uint8_t usage);

// The virtual-key code of a key index, or -1 for indexes without one (kh_None, kh_Demo,
// kh_Return_KP). The inverse of VirtualKeyToKeyIndex.
int KeyIndexToVirtualKey(int keyIndex);

}  // namespace keys
