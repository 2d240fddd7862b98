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
    EXPECT_EQ(correctDelayText("99999999999"), "2000") << "a long run of digits is a big number";
}

// What an edit is written as: an untouched text as read, a changed one as its correction.
TEST(FireKeyModes, OnlyChangedTextsAreCorrectedForWriting) {
    struct Case {
        const char *text, *shown, *repeat, *delay;
    } const cases[] = {
        {"1", "1", "1", "1"},           {"0", "0", "0", "0"},        {"15", "15", "15", "15"},
        {"4095", "4095", "15", "4095"}, {"1", "5", "2", "2"},        {"", "5", "2", "2"},
        {"16", "1", "15", "16"},        {"9999", "1", "15", "2000"}, {"01", "1", "01", "01"},
        {"2000", "4095", "15", "2000"}, {"4095", "", "15", "2000"},  {"x", "x", "2", "2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(repeatTextToWrite(c.text, c.shown), c.repeat) << c.text << " shown " << c.shown;
        EXPECT_EQ(delayTextToWrite(c.text, c.shown), c.delay) << c.text << " shown " << c.shown;
    }
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
