#include "keys/x11_keysyms.h"

#include <gtest/gtest.h>

#include <set>

#include "keys/key_tables.h"

namespace keys {
namespace {

TEST(X11Keysyms, ReachEveryKeyOfTheKeyTable) {
    std::set<int> reached;
    for (std::uint32_t k = 0; k <= 0xFFFF; ++k) reached.insert(keysymToVirtualKey(k));
    for (std::uint32_t k = 0x1008FF00; k <= 0x1008FFFF; ++k) reached.insert(keysymToVirtualKey(k));
    // X reports the side of every modifier, so the generic Shift, Ctrl and Alt never come;
    // OEM_8 has no key on a US layout and 0xFF is no key at all.
    const std::set<int> unreachable{0x10, 0x11, 0x12, 0xDF, 0xFF};
    for (int index = 2; index < 144; ++index) {
        const int vk = KeyIndexToVirtualKey(index);
        if (unreachable.count(vk)) continue;
        EXPECT_TRUE(reached.count(vk)) << KeyIndexToKeyName(index);
    }
}

TEST(X11Keysyms, ChosenKeysyms) {
    EXPECT_EQ(keysymToVirtualKey('a'), 0x41);
    EXPECT_EQ(keysymToVirtualKey('Q'), 0x51);
    EXPECT_EQ(keysymToVirtualKey('7'), 0x37);
    EXPECT_EQ(keysymToVirtualKey(0xFFBE), 0x70);  // F1
    EXPECT_EQ(keysymToVirtualKey(0xFFD5), 0x87);  // F24
    EXPECT_EQ(keysymToVirtualKey(0xFFB9), 0x69);  // KP_9
    EXPECT_EQ(keysymToVirtualKey(0xFFE2), 0xA1);  // Shift_R
    EXPECT_EQ(keysymToVirtualKey(0xFFEC), 0x5C);  // Super_R
    EXPECT_EQ(keysymToVirtualKey(';'), 0xBA);
    EXPECT_EQ(keysymToVirtualKey('/'), 0xBF);
    EXPECT_EQ(keysymToVirtualKey(0x1008FF13), 0xAF);  // XF86AudioRaiseVolume
    EXPECT_EQ(keysymToVirtualKey(0x00E9), 0);         // eacute: no key of ours
    EXPECT_EQ(keysymToVirtualKey(0xFFFFFF), 0);
}

}  // namespace
}  // namespace keys
