#include "keys/key_tables.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace keys {
namespace {

TEST(KeyTables, EveryKeyRoundTripsFromItsVirtualKey) {
    std::map<int, int> indexOfVk;
    for (int vk = 0; vk < 256; ++vk) {
        const int index = VirtualKeyToKeyIndex(vk);
        if (index == kh_None) continue;
        EXPECT_EQ(KeyIndexToVirtualKey(index), vk) << "index " << index;
        EXPECT_TRUE(indexOfVk.emplace(index, vk).second)
            << "virtual keys " << indexOfVk[index] << " and " << vk << " share index " << index;
    }
    // Every index except kh_None, kh_Demo and kh_Return_KP has exactly one virtual key.
    EXPECT_EQ(indexOfVk.size(), 143u);
    for (int index = 2; index < kKeyIndexCount; ++index) {
        if (index == kh_Return_KP) continue;
        EXPECT_TRUE(indexOfVk.count(index)) << index;
        EXPECT_FALSE(KeyIndexToKeyName(index).empty()) << index;
    }
}

TEST(KeyTables, NamesAndUsagesOfChosenKeys) {
    struct Case {
        int vk;
        int index;
        const char* name;
        int usage;
    };
    for (const Case& c : {
             Case{0x10, 7, "Shift", 0xE1},
             Case{0x5B, 27, "Left Windows", 0xE3},
             Case{0xDF, 121, "OEM_8", 0x00},
             Case{0xB6, 142, "Launch_App1", 0x00},
             Case{0xB7, 143, "Launch_App2", 0x00},
             Case{0x60, 30, "0 (numeric pad)", 0x62},
             Case{0x61, 31, "1 (numeric pad)", 0x59},
             Case{0x87, 69, "F24", 0x73},
             Case{0x41, 78, "A", 0x04},
             Case{0x5A, 103, "Z", 0x1D},
             Case{0x30, 104, "0", 0x27},
             Case{0x39, 113, "9", 0x26},
             Case{0xFF, 2, "255", 0x00},
             Case{0x0D, 6, "Enter", 0x28},
             Case{0xA5, 77, "Right Alt", 0xE6},
             Case{0xBE, 125, ".", 0x37},  // the US layout's name without a display
             Case{0xE2, 145, "\\", 0x64},
             Case{0xA6, 126, "Browser_Back", 0xCA},
             Case{0xB5, 141, "Launch_Media_Select", 0xD1},
         }) {
        EXPECT_EQ(VirtualKeyToKeyIndex(c.vk), c.index) << c.name;
        EXPECT_EQ(KeyIndexToKeyName(c.index), c.name);
        EXPECT_EQ(KeyIndexToKeyUsage(c.index), c.usage) << c.name;
    }
    EXPECT_EQ(KeyUsageToKeyName(0xE1), "Left Shift");
    EXPECT_EQ(KeyUsageToKeyName(0xE3), "Win");
    EXPECT_EQ(KeyUsageToKeyName(0xE7), "Win");
    EXPECT_EQ(KeyUsageToKeyName(0xE0), "Left Ctrl");
    EXPECT_EQ(KeyUsageToKeyName(0xE2), "Left Alt");
}

TEST(KeyTables, UnknownInputsGiveNoneOrEmpty) {
    for (int vk : {0x00, 0x15, 0x2A, 0x5E, 0x88, 0xE0, -1, 256}) {
        EXPECT_EQ(VirtualKeyToKeyIndex(vk), kh_None) << vk;
    }
    EXPECT_EQ(KeyIndexToKeyName(kh_None), "None");
    EXPECT_EQ(KeyIndexToKeyName(kh_Demo), "Demo");
    EXPECT_EQ(KeyIndexToKeyName(kh_Return_KP), "");
    EXPECT_EQ(KeyIndexToKeyUsage(kh_Return_KP), 0);
    EXPECT_EQ(KeyIndexToKeyName(200), "");
    EXPECT_EQ(KeyUsageToKeyName(0x00), "");
    EXPECT_EQ(KeyUsageToKeyName(0x01), "");
    EXPECT_EQ(KeyUsageToKeyName(0xFF), "");
}

// Every usage a key produces names that key, except the modifier usages, which the generic
// and the left-hand keys share.
TEST(KeyTables, UsageNamesMatchTheirKeys) {
    std::set<int> seen;
    const std::set<int> shared{0xE0, 0xE1, 0xE2, 0xE3, 0xE7};
    for (int index = 0; index < kKeyIndexCount; ++index) {
        const int usage = KeyIndexToKeyUsage(index);
        if (usage == 0) continue;
        EXPECT_FALSE(KeyUsageToKeyName(static_cast<std::uint8_t>(usage)).empty()) << index;
        if (shared.count(usage)) continue;
        EXPECT_TRUE(seen.insert(usage).second) << "usage " << usage << " used twice";
        EXPECT_EQ(KeyUsageToKeyName(static_cast<std::uint8_t>(usage)), KeyIndexToKeyName(index));
    }
}

}  // namespace
}  // namespace keys
