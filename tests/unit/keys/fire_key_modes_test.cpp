#include "keys/fire_key_modes.h"

#include <gtest/gtest.h>

namespace keys {
namespace {

TEST(FireKeyModes, EditsAreCorrectedOnLeaving) {
    EXPECT_EQ(correctRepeatText("1"), "2");
    EXPECT_EQ(correctRepeatText(""), "2");
    EXPECT_EQ(correctRepeatText("16"), "15");
    EXPECT_EQ(correctRepeatText("0"), "0");
    EXPECT_EQ(correctRepeatText("01"), "01") << "the comparison with \"1\" is one of texts";
    EXPECT_EQ(correctDelayText("4095"), "2000");
    EXPECT_EQ(correctDelayText("2000"), "2000");
    EXPECT_EQ(correctDelayText("1"), "2");
    EXPECT_EQ(repeatValue("01"), 1u);
    EXPECT_EQ(repeatValue(""), 2u) << "an edit still empty is written as its correction";
    EXPECT_EQ(delayValue("9999"), 2000u);
}

TEST(FireKeyModes, EntriesKeepTheHighBitsOfByteTwo) {
    EXPECT_EQ(fireKeyEntry(2, 16, 0x00), (std::array<std::uint8_t, 4>{0x06, 0x12, 0x00, 0x10}));
    EXPECT_EQ(fireKeyEntry(0, 2000, 0x00), (std::array<std::uint8_t, 4>{0x06, 0x10, 0x07, 0xD0}));
    EXPECT_EQ(fireKeyEntry(1, 16, 0x5A), (std::array<std::uint8_t, 4>{0x06, 0x11, 0x50, 0x10}));
}

TEST(FireKeyModes, SelectionKeepsOneToThreeModes) {
    FireModeSelection s;
    EXPECT_FALSE(s.toggle(4)) << "three are selected already";
    EXPECT_TRUE(s.toggle(2));
    EXPECT_EQ(s.modes(), (std::set<int>{1, 3}));
    EXPECT_TRUE(s.toggle(1));
    EXPECT_FALSE(s.toggle(3)) << "the last one stays";
    EXPECT_EQ(s.code(), (std::array<std::uint8_t, 4>{0x0F, 0x03, 0x00, 0x00}));
    s.takeFromCode({0x0F, 0x04, 0x02, 0x09});
    EXPECT_EQ(s.modes(), (std::set<int>{2, 4}));
    EXPECT_EQ(s.code(), (std::array<std::uint8_t, 4>{0x0F, 0x02, 0x04, 0x00}));
    s.takeFromCode({0x0F, 0x00, 0x00, 0x00});
    EXPECT_TRUE(s.modes().empty());
    EXPECT_TRUE(s.toggle(3)) << "an empty selection takes a click";
}

}  // namespace
}  // namespace keys
