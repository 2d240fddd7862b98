// Key names from the Windows layout of the moment: a French and a German layout name the keys
// at the US "Q" and ";" positions by what they type there, where the system switches layouts.
#include "keys/windows/win_key_namer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "keys/key_tables.h"

namespace keys {
namespace {

struct LayoutCase {
    const wchar_t* id;  // the layout's name for LoadKeyboardLayoutW
    WORD language;
    TKeyboardHookKey key;
    UINT scanCode;  // of the key's position
    UINT usKey;     // the virtual key a US layout gives there
    const char* name;
};

// Why the system cannot show the layout's names, or empty when it can.
std::string unsupported(const LayoutCase& c, HKL loaded) {
    char why[160] = {};
    const HWND foreground = GetForegroundWindow();
    const WORD now = LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0)));
    if (!loaded)
        std::snprintf(why, sizeof why, "layout %04X cannot be loaded", c.language);
    else if (now != c.language)
        std::snprintf(why, sizeof why, "layout %04X was set, the system reports %04X", c.language,
                      now);
    else if (MapVirtualKeyExW(c.scanCode, MAPVK_VSC_TO_VK, loaded) == c.usKey)
        std::snprintf(why, sizeof why,
                      "layout %04X is reported, yet the system maps its keys as a US layout does",
                      c.language);
    else if (foreground && GetWindowThreadProcessId(foreground, nullptr) != GetCurrentThreadId())
        std::snprintf(why, sizeof why, "names follow the foreground window, another program's");
    return why;
}

TEST(WindowsKeyNamer, NamesPositionsByTheLayoutThatIsSet) {
    const LayoutCase cases[] = {
        {L"0000040C", 0x040C, kh_Q, 0x10, 'Q', "A"},
        {L"00000407", 0x0407, kh_OEM_1, 0x27, VK_OEM_1, "\xC3\x96"},
    };
    const auto namer = makeWindowsKeyNamer();
    const HKL original = GetKeyboardLayout(0);
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const HKL loaded = LoadKeyboardLayoutW(c.id, KLF_ACTIVATE);
        const std::string why = unsupported(c, loaded);
        if (!why.empty()) {
            ActivateKeyboardLayout(original, 0);
            GTEST_SKIP() << why;
        }
        const std::string name = namer->printableName(c.key);
        EXPECT_EQ(name, c.name);
    }
    ActivateKeyboardLayout(original, 0);
}

}  // namespace
}  // namespace keys
