#include "keys/windows/win_key_namer.h"

#include <windows.h>

#include "keys/key_positions.h"

namespace keys {
namespace {

class WindowsKeyNamer : public KeyNamer {
  public:
    std::string printableName(TKeyboardHookKey key) const override {
        const int scan = KeyIndexToScanCode(key);
        if (scan < 0) return {};
        const HKL layout =
            GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
        const UINT scanCode = static_cast<UINT>((scan & kScanE0) ? (0xE000 | (scan & 0xFF)) : scan);
        const UINT vk = MapVirtualKeyExW(scanCode, MAPVK_VSC_TO_VK_EX, layout);
        if (vk == 0) return {};
        // An empty key state and flag 4 (keep the keyboard state): no dead key the user has
        // pressed is consumed or added by asking.
        BYTE state[256] = {};
        WCHAR text[8] = {};
        const int n = ToUnicodeEx(vk, scanCode & 0xFF, state, text, 8, 4, layout);
        // A dead key (negative) gives its accent.
        if (n == 0 || (n > 1)) return {};
        CharUpperBuffW(text, 1);
        if (text[0] >= 0xD800 && text[0] <= 0xDFFF) return {};
        return printableText(static_cast<char32_t>(text[0]));
    }
};

}  // namespace

std::shared_ptr<const KeyNamer> makeWindowsKeyNamer() {
    return std::make_shared<WindowsKeyNamer>();
}

}  // namespace keys
