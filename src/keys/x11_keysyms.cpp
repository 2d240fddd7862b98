#include "keys/x11_keysyms.h"

#include <algorithm>
#include <array>

namespace keys {
namespace {

struct KeysymRow {
    std::uint32_t keysym;
    std::uint8_t virtualKey;
};

// Keysyms outside the Latin-1 letters and digits, which are handled by range below.
// Sorted by keysym for the binary search.
constexpr KeysymRow kKeysyms[] = {
    {0x0020, 0x20},      // space
    {0x0021, 0x31},      // exclam (shifted 1)
    {0x0022, 0xDE},      // quotedbl
    {0x0023, 0x33},      // numbersign
    {0x0024, 0x34},      // dollar
    {0x0025, 0x35},      // percent
    {0x0026, 0x37},      // ampersand
    {0x0027, 0xDE},      // apostrophe
    {0x0028, 0x39},      // parenleft
    {0x0029, 0x30},      // parenright
    {0x002A, 0x38},      // asterisk
    {0x002B, 0xBB},      // plus
    {0x002C, 0xBC},      // comma
    {0x002D, 0xBD},      // minus
    {0x002E, 0xBE},      // period
    {0x002F, 0xBF},      // slash
    {0x003A, 0xBA},      // colon
    {0x003B, 0xBA},      // semicolon
    {0x003C, 0xBC},      // less
    {0x003D, 0xBB},      // equal
    {0x003E, 0xBE},      // greater
    {0x003F, 0xBF},      // question
    {0x0040, 0x32},      // at
    {0x005B, 0xDB},      // bracketleft
    {0x005C, 0xDC},      // backslash
    {0x005D, 0xDD},      // bracketright
    {0x005E, 0x36},      // asciicircum
    {0x005F, 0xBD},      // underscore
    {0x0060, 0xC0},      // grave
    {0x007B, 0xDB},      // braceleft
    {0x007C, 0xDC},      // bar
    {0x007D, 0xDD},      // braceright
    {0x007E, 0xC0},      // asciitilde
    {0xFE03, 0xA5},      // ISO_Level3_Shift (AltGr)
    {0xFE20, 0x09},      // ISO_Left_Tab
    {0xFF08, 0x08},      // BackSpace
    {0xFF09, 0x09},      // Tab
    {0xFF0B, 0x0C},      // Clear
    {0xFF0D, 0x0D},      // Return
    {0xFF13, 0x13},      // Pause
    {0xFF14, 0x91},      // Scroll_Lock
    {0xFF1B, 0x1B},      // Escape
    {0xFF50, 0x24},      // Home
    {0xFF51, 0x25},      // Left
    {0xFF52, 0x26},      // Up
    {0xFF53, 0x27},      // Right
    {0xFF54, 0x28},      // Down
    {0xFF55, 0x21},      // Prior (Page Up)
    {0xFF56, 0x22},      // Next (Page Down)
    {0xFF57, 0x23},      // End
    {0xFF60, 0x29},      // Select
    {0xFF61, 0x2C},      // Print
    {0xFF63, 0x2D},      // Insert
    {0xFF67, 0x5D},      // Menu (Applications)
    {0xFF6A, 0x2F},      // Help
    {0xFF7F, 0x90},      // Num_Lock
    {0xFF8D, 0x0D},      // KP_Enter
    {0xFF95, 0x24},      // KP_Home: keypad keys without Num Lock act as the navigation keys
    {0xFF96, 0x25},      // KP_Left
    {0xFF97, 0x26},      // KP_Up
    {0xFF98, 0x27},      // KP_Right
    {0xFF99, 0x28},      // KP_Down
    {0xFF9A, 0x21},      // KP_Prior
    {0xFF9B, 0x22},      // KP_Next
    {0xFF9C, 0x23},      // KP_End
    {0xFF9D, 0x0C},      // KP_Begin
    {0xFF9E, 0x2D},      // KP_Insert
    {0xFF9F, 0x2E},      // KP_Delete
    {0xFFAA, 0x6A},      // KP_Multiply
    {0xFFAB, 0x6B},      // KP_Add
    {0xFFAC, 0x6C},      // KP_Separator
    {0xFFAD, 0x6D},      // KP_Subtract
    {0xFFAE, 0x6E},      // KP_Decimal
    {0xFFAF, 0x6F},      // KP_Divide
    {0xFFE1, 0xA0},      // Shift_L
    {0xFFE2, 0xA1},      // Shift_R
    {0xFFE3, 0xA2},      // Control_L
    {0xFFE4, 0xA3},      // Control_R
    {0xFFE5, 0x14},      // Caps_Lock
    {0xFFE9, 0xA4},      // Alt_L
    {0xFFEA, 0xA5},      // Alt_R
    {0xFFEB, 0x5B},      // Super_L
    {0xFFEC, 0x5C},      // Super_R
    {0xFFFF, 0x2E},      // Delete
    {0x1008FF11, 0xAE},  // XF86AudioLowerVolume
    {0x1008FF12, 0xAD},  // XF86AudioMute
    {0x1008FF13, 0xAF},  // XF86AudioRaiseVolume
    {0x1008FF14, 0xB3},  // XF86AudioPlay
    {0x1008FF15, 0xB2},  // XF86AudioStop
    {0x1008FF16, 0xB1},  // XF86AudioPrev
    {0x1008FF17, 0xB0},  // XF86AudioNext
    {0x1008FF18, 0xAC},  // XF86HomePage
    {0x1008FF19, 0xB4},  // XF86Mail
    {0x1008FF1B, 0xAA},  // XF86Search
    {0x1008FF1D, 0xB7},  // XF86Calculator (Launch App 2)
    {0x1008FF26, 0xA6},  // XF86Back
    {0x1008FF27, 0xA7},  // XF86Forward
    {0x1008FF28, 0xA9},  // XF86Stop
    {0x1008FF29, 0xA8},  // XF86Refresh
    {0x1008FF30, 0xAB},  // XF86Favorites
    {0x1008FF31, 0xB3},  // XF86AudioPause
    {0x1008FF32, 0xB5},  // XF86AudioMedia
    {0x1008FF33, 0xB6},  // XF86MyComputer (Launch App 1)
};

constexpr bool sortedByKeysym() {
    for (std::size_t i = 1; i < std::size(kKeysyms); ++i) {
        if (kKeysyms[i - 1].keysym >= kKeysyms[i].keysym) return false;
    }
    return true;
}
static_assert(sortedByKeysym());

constexpr std::uint32_t kKeysymF1 = 0xFFBE;   // F1 ... F24 are consecutive
constexpr std::uint32_t kKeysymKP0 = 0xFFB0;  // KP_0 ... KP_9 are consecutive

}  // namespace

int keysymToVirtualKey(std::uint32_t keysym) {
    if (keysym >= 'A' && keysym <= 'Z') return static_cast<int>(keysym);
    if (keysym >= 'a' && keysym <= 'z') return static_cast<int>(keysym - 'a' + 'A');
    if (keysym >= '0' && keysym <= '9') return static_cast<int>(keysym);
    if (keysym >= kKeysymF1 && keysym < kKeysymF1 + 24)
        return static_cast<int>(0x70 + keysym - kKeysymF1);
    if (keysym >= kKeysymKP0 && keysym < kKeysymKP0 + 10)
        return static_cast<int>(0x60 + keysym - kKeysymKP0);
    const auto* end = std::end(kKeysyms);
    const auto* it =
        std::lower_bound(std::begin(kKeysyms), end, keysym,
                         [](const KeysymRow& r, std::uint32_t k) { return r.keysym < k; });
    return (it != end && it->keysym == keysym) ? it->virtualKey : 0;
}

}  // namespace keys
