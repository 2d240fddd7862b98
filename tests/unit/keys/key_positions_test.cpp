#include "keys/key_positions.h"

#include <gtest/gtest.h>

#include <set>

#include "keys/key_layout.h"

namespace keys {
namespace {

// Every position names one key and both codes lead back to it; each key but Enter (main and
// keypad) has one position.
TEST(KeyPositions, EvdevAndScanCodesAgreeOnEveryKey) {
    std::set<int> keysSeen;
    for (int evdev = 0; evdev < 256; ++evdev) {
        const TKeyboardHookKey key = EvdevCodeToKeyIndex(evdev);
        if (key == kh_None) continue;
        EXPECT_NE(KeyIndexToKeyUsage(key), 0) << evdev;
        const int scan = KeyIndexToScanCode(key);
        EXPECT_EQ(ScanCodeToKeyIndex(scan), key) << evdev;
        if (!keysSeen.insert(key).second)
            EXPECT_EQ(key, kh_Return) << evdev;
        else
            EXPECT_EQ(KeyIndexToEvdevCode(key), evdev);
    }
    EXPECT_EQ(keysSeen.size(), 116u);
}

TEST(KeyPositions, PositionsOfChosenKeys) {
    struct Case {
        int evdev;
        std::uint32_t lParam;  // of a Windows key message
        int vk;
        int usage;
    };
    for (const Case& c : {
             Case{2, 0x00020001, 0x31, 0x1E},    // "&/1" on French keyboards
             Case{16, 0x00100001, 0x51, 0x14},   // "A" on French keyboards
             Case{39, 0x00270001, 0xBA, 0x33},   // "Ö" on German keyboards
             Case{86, 0x00560001, 0xE2, 0x64},   // "<>" beside Left Shift
             Case{100, 0x01380001, 0xA5, 0xE6},  // AltGr
             Case{29, 0x001D0001, 0xA2, 0xE0},
             Case{97, 0x011D0001, 0xA3, 0xE4},
             Case{96, 0x011C0001, 0x0D, 0x28},  // keypad Enter
             Case{79, 0x004F0001, 0x61, 0x59},  // keypad 1 also with NumLock off
             Case{107, 0x014F0001, 0x23, 0x4D},
             Case{69, 0x01450001, 0x90, 0x53},   // NumLock comes extended in key messages
             Case{119, 0x00450001, 0x13, 0x48},  // and Pause not
             Case{194, 0x00760001, 0x87, 0x73},
         }) {
        EXPECT_EQ(evdevCodeToPositionKey(c.evdev), c.vk) << c.evdev;
        EXPECT_EQ(scanCodeToPositionKey(scanCodeOfKeyMessage(c.lParam)), c.vk) << c.evdev;
        EXPECT_EQ(KeyIndexToKeyUsage(VirtualKeyToKeyIndex(c.vk)), c.usage) << c.evdev;
    }
    // Raw input: E0 and E1 flags; the fake Shift of E0 2A has no position.
    EXPECT_EQ(ScanCodeToKeyIndex(scanCodeOfRawInput(0x38, 2)), kh_RAlt);
    EXPECT_EQ(ScanCodeToKeyIndex(scanCodeOfRawInput(0x1D, 4)), kh_Pause);
    EXPECT_EQ(ScanCodeToKeyIndex(scanCodeOfRawInput(0x45, 0)), kh_Numlock);
    EXPECT_EQ(ScanCodeToKeyIndex(scanCodeOfRawInput(0x2A, 2)), kh_None);
    // Media keys, the Japanese and Brazilian extra keys: no position, no code.
    for (int evdev : {0, 89, 92, 113, 114, 115, 121, 124, 163, 164, 255, 300, -9}) {
        EXPECT_EQ(evdevCodeToPositionKey(evdev), 0) << evdev;
    }
    EXPECT_EQ(scanCodeToPositionKey(0xE020), 0);  // Mute
    EXPECT_EQ(scanCodeToPositionKey(0x73), 0);    // the Brazilian "/" key
}

struct GermanLetters : KeyNamer {
    std::string printableName(TKeyboardHookKey key) const override {
        if (key == kh_OEM_1) return "\xC3\x96";  // Ö
        if (key == kh_Y) return "Z";
        if (key == kh_OEM_3) return {};  // a layout that types nothing there
        return usKeyNamer().printableName(key);
    }
};

// Printable keys are named by the layout, in the names of codes and macro lines too; every
// other key keeps the table's name.
TEST(KeyNames, PrintableKeysAreNamedByTheLayout) {
    EXPECT_EQ(KeyIndexToKeyName(kh_OEM_1), ";");
    EXPECT_EQ(KeyIndexToKeyName(kh_OEM_102), "\\");
    EXPECT_EQ(KeyUsageToKeyName(0x38), "/");
    setKeyNamer(std::make_shared<GermanLetters>());
    EXPECT_EQ(KeyIndexToKeyName(kh_OEM_1), "\xC3\x96");
    EXPECT_EQ(KeyUsageToKeyName(0x33), "\xC3\x96");
    EXPECT_EQ(KeyUsageToKeyName(0x1C), "Z");
    EXPECT_EQ(KeyIndexToKeyName(kh_OEM_3), "OEM_3");
    EXPECT_EQ(KeyIndexToKeyName(kh_Return), "Enter");
    EXPECT_EQ(KeyIndexToKeyName(kh_Numpad1), "1 (numeric pad)");
    EXPECT_EQ(KeyUsageToKeyName(0xE6), "Right Alt");
    EXPECT_EQ(KeyIndexToTableName(kh_OEM_1), "OEM_1");
    setKeyNamer(nullptr);
    EXPECT_EQ(KeyUsageToKeyName(0x33), ";");
    EXPECT_EQ(printableText(U' '), "");
    EXPECT_EQ(printableText(U'\u20AC'), "\xE2\x82\xAC");
}

}  // namespace
}  // namespace keys
