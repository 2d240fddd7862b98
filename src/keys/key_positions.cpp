#include "keys/key_positions.h"

#include <array>

namespace keys {
namespace {

struct Position {
    int evdev;
    int scan;
    TKeyboardHookKey key;
};

// The keys of a PC keyboard (ISO and ANSI), by position.
constexpr Position kPositions[] = {
    {1, 0x01, kh_Escape},
    {2, 0x02, kh_1},
    {3, 0x03, kh_2},
    {4, 0x04, kh_3},
    {5, 0x05, kh_4},
    {6, 0x06, kh_5},
    {7, 0x07, kh_6},
    {8, 0x08, kh_7},
    {9, 0x09, kh_8},
    {10, 0x0A, kh_9},
    {11, 0x0B, kh_0},
    {12, 0x0C, kh_OEM_Minus},
    {13, 0x0D, kh_OEM_Plus},
    {14, 0x0E, kh_Back},
    {15, 0x0F, kh_Tab},
    {16, 0x10, kh_Q},
    {17, 0x11, kh_W},
    {18, 0x12, kh_E},
    {19, 0x13, kh_R},
    {20, 0x14, kh_T},
    {21, 0x15, kh_Y},
    {22, 0x16, kh_U},
    {23, 0x17, kh_I},
    {24, 0x18, kh_O},
    {25, 0x19, kh_P},
    {26, 0x1A, kh_OEM_4},
    {27, 0x1B, kh_OEM_6},
    {28, 0x1C, kh_Return},
    {29, 0x1D, kh_LControl},
    {30, 0x1E, kh_A},
    {31, 0x1F, kh_S},
    {32, 0x20, kh_D},
    {33, 0x21, kh_F},
    {34, 0x22, kh_G},
    {35, 0x23, kh_H},
    {36, 0x24, kh_J},
    {37, 0x25, kh_K},
    {38, 0x26, kh_L},
    {39, 0x27, kh_OEM_1},
    {40, 0x28, kh_OEM_7},
    {41, 0x29, kh_OEM_3},
    {42, 0x2A, kh_LShift},
    {43, 0x2B, kh_OEM_5},
    {44, 0x2C, kh_Z},
    {45, 0x2D, kh_X},
    {46, 0x2E, kh_C},
    {47, 0x2F, kh_V},
    {48, 0x30, kh_B},
    {49, 0x31, kh_N},
    {50, 0x32, kh_M},
    {51, 0x33, kh_OEM_Comma},
    {52, 0x34, kh_OEM_Period},
    {53, 0x35, kh_OEM_2},
    {54, 0x36, kh_RShift},
    {55, 0x37, kh_Multiply},
    {56, 0x38, kh_LAlt},
    {57, 0x39, kh_Space},
    {58, 0x3A, kh_Capital},
    {59, 0x3B, kh_F1},
    {60, 0x3C, kh_F2},
    {61, 0x3D, kh_F3},
    {62, 0x3E, kh_F4},
    {63, 0x3F, kh_F5},
    {64, 0x40, kh_F6},
    {65, 0x41, kh_F7},
    {66, 0x42, kh_F8},
    {67, 0x43, kh_F9},
    {68, 0x44, kh_F10},
    {69, 0x45, kh_Numlock},
    {70, 0x46, kh_Scroll},
    // The keypad gives its own positions also with NumLock off.
    {71, 0x47, kh_Numpad7},
    {72, 0x48, kh_Numpad8},
    {73, 0x49, kh_Numpad9},
    {74, 0x4A, kh_Subtract},
    {75, 0x4B, kh_Numpad4},
    {76, 0x4C, kh_Numpad5},
    {77, 0x4D, kh_Numpad6},
    {78, 0x4E, kh_Add},
    {79, 0x4F, kh_Numpad1},
    {80, 0x50, kh_Numpad2},
    {81, 0x51, kh_Numpad3},
    {82, 0x52, kh_Numpad0},
    {83, 0x53, kh_Decimal},
    {86, 0x56, kh_OEM_102},
    {87, 0x57, kh_F11},
    {88, 0x58, kh_F12},
    {96, kScanE0 | 0x1C, kh_Return},  // keypad Enter: Enter, as Windows gives it
    {97, kScanE0 | 0x1D, kh_RControl},
    {98, kScanE0 | 0x35, kh_Divide},
    {99, kScanE0 | 0x37, kh_Snapshot},
    {100, kScanE0 | 0x38, kh_RAlt},
    {102, kScanE0 | 0x47, kh_Home},
    {103, kScanE0 | 0x48, kh_Up},
    {104, kScanE0 | 0x49, kh_Prior},
    {105, kScanE0 | 0x4B, kh_Left},
    {106, kScanE0 | 0x4D, kh_Right},
    {107, kScanE0 | 0x4F, kh_End},
    {108, kScanE0 | 0x50, kh_Down},
    {109, kScanE0 | 0x51, kh_Next},
    {110, kScanE0 | 0x52, kh_Insert},
    {111, kScanE0 | 0x53, kh_Delete},
    {119, kScanPause, kh_Pause},
    {125, kScanE0 | 0x5B, kh_LWIN},
    {126, kScanE0 | 0x5C, kh_RWIN},
    {127, kScanE0 | 0x5D, kh_APPS},
    {183, 0x64, kh_F13},
    {184, 0x65, kh_F14},
    {185, 0x66, kh_F15},
    {186, 0x67, kh_F16},
    {187, 0x68, kh_F17},
    {188, 0x69, kh_F18},
    {189, 0x6A, kh_F19},
    {190, 0x6B, kh_F20},
    {191, 0x6C, kh_F21},
    {192, 0x6D, kh_F22},
    {193, 0x6E, kh_F23},
    {194, 0x76, kh_F24},
};

template <typename Field>
TKeyboardHookKey find(int value, Field field) {
    for (const Position& p : kPositions) {
        if (p.*field == value) return p.key;
    }
    return kh_None;
}

template <typename Field>
int reverse(int keyIndex, Field field) {
    // Keypad Enter shares Enter's key; the main Enter is the one named.
    for (const Position& p : kPositions) {
        if (p.key == keyIndex && keyIndex != kh_None) return p.*field;
    }
    return -1;
}

int positionKey(TKeyboardHookKey key) {
    const int vk = KeyIndexToVirtualKey(key);
    return vk < 0 ? 0 : vk;
}

}  // namespace

TKeyboardHookKey EvdevCodeToKeyIndex(int evdevCode) {
    return find(evdevCode, &Position::evdev);
}

TKeyboardHookKey ScanCodeToKeyIndex(int scanCode) {
    return find(scanCode, &Position::scan);
}

int KeyIndexToEvdevCode(int keyIndex) {
    return reverse(keyIndex, &Position::evdev);
}

int KeyIndexToScanCode(int keyIndex) {
    return reverse(keyIndex, &Position::scan);
}

int evdevCodeToPositionKey(int evdevCode) {
    return positionKey(EvdevCodeToKeyIndex(evdevCode));
}

int scanCodeToPositionKey(int scanCode) {
    return positionKey(ScanCodeToKeyIndex(scanCode));
}

int scanCodeOfKeyMessage(std::uint32_t lParam) {
    const int scan = static_cast<int>((lParam >> 16) & 0xFF);
    const bool extended = (lParam & (1u << 24)) != 0;
    if (scan == 0x45) return extended ? 0x45 : kScanPause;
    return extended ? (kScanE0 | scan) : scan;
}

int scanCodeOfRawInput(std::uint16_t makeCode, std::uint16_t flags) {
    if (flags & 4) return (makeCode & 0xFF) == 0x1D ? kScanPause : 0;
    return (flags & 2) ? (kScanE0 | (makeCode & 0xFF)) : (makeCode & 0xFF);
}

}  // namespace keys
