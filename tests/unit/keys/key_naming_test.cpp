#include "keys/key_naming.h"

#include <gtest/gtest.h>

#include <map>

#include "keys/key_code.h"

namespace keys {
namespace {

// English texts of the keys that name codes; an unknown key reads as its own name so that a
// wrong key shows in the failure.
struct FakeLanguage : LanguageTexts {
    std::map<std::string, std::string, std::less<>> texts{
        {"Str210", "Left Key"},  {"Str213", "Backward"},      {"Str221", "Power"},
        {"Str231", "Fire1 Key"}, {"Str232", "Fire2 Key"},     {"Str234", "Fire4 Key"},
        {"Str240", "Fire Mode"}, {"Str242", "KB Switch Key"}, {"Str248", "CPI -"},
        {"Str254", "Volume +"},  {"Str266", "WWW Favorites"},
    };
    std::string text(std::string_view key) const override {
        const auto it = texts.find(key);
        return it == texts.end() ? "?" + std::string(key) : it->second;
    }
};

struct FakeFireKeys : FireKeyModeSettings {
    std::string repeat[4] = {"2", "2", "2", "2"};
    std::string delay[4] = {"16", "32", "48", "64"};
    std::uint8_t byte2[4] = {0, 0, 0, 0};
    std::string repeatText(int mode) const override { return repeat[mode - 1]; }
    std::string delayText(int mode) const override { return delay[mode - 1]; }
    std::uint8_t fireKeyByte2(int mode) const override { return byte2[mode - 1]; }
};

struct FakeMacros : MacroNames {
    std::map<std::uint16_t, std::string> names{{0x8400, "Reload"}, {0xFC00, "Last"}};
    std::optional<std::string> nameAtAddress(std::uint16_t address) const override {
        const auto it = names.find(address);
        if (it == names.end()) return std::nullopt;
        return it->second;
    }
};

struct Naming : ::testing::Test {
    FakeLanguage language;
    FakeFireKeys fire;
    FakeMacros macros;
    std::string name(std::string_view code) { return KeyCodeToName(code, language, fire, macros); }
};

TEST_F(Naming, FixedCodesAndUnknownTypes) {
    EXPECT_EQ(name("01010000"), "Left Key");
    EXPECT_EQ(name("01080000"), "Backward");
    EXPECT_EQ(name("04010000"), "Power");
    EXPECT_EQ(name("07000000"), "KB Switch Key");
    EXPECT_EQ(name("09020000"), "CPI -");
    EXPECT_EQ(name("0300E900"), "Volume +");
    EXPECT_EQ(name("03022A00"), "WWW Favorites");
    EXPECT_EQ(name("00000000"), "");
    EXPECT_EQ(name("110A0201"), "");
    EXPECT_EQ(name("0300E901"), "") << "consumer codes are matched whole";
    EXPECT_EQ(name("0101000"), "");
    EXPECT_EQ(name("0e000000"), "") << "codes are compared in upper case";
}

TEST_F(Naming, FireKeyFunctionsFollowTheCurrentModeSettings) {
    EXPECT_EQ(name("06120010"), "Fire1 Key");
    EXPECT_EQ(name("06120040"), "Fire4 Key");
    fire.delay[0] = "20";
    EXPECT_EQ(name("06120010"), "") << "a changed mode no longer names the old code";
    EXPECT_EQ(name("06120014"), "Fire1 Key");
    fire.delay[1] = "20";
    EXPECT_EQ(name("06120014"), "Fire1 Key") << "equal settings: mode 1 wins";
    fire.byte2[3] = 0x57;  // only the high four bits count
    fire.delay[3] = "2000";
    EXPECT_EQ(name("061257D0"), "Fire4 Key");
}

TEST_F(Naming, NonNumericFireKeyEditsMakeNoCode) {
    fire.repeat[0] = "";
    EXPECT_EQ(TagToKeyCode(1200, fire), "");
    EXPECT_EQ(name("06120010"), "");
    fire.repeat[0] = "2";
    fire.delay[0] = "1x";
    EXPECT_EQ(TagToKeyCode(1200, fire), "");
    fire.delay[0] = "+16";
    EXPECT_EQ(TagToKeyCode(1200, fire), "");
    EXPECT_EQ(TagToKeyCode(1201, fire), "06120020");
}

TEST_F(Naming, FireModeCombinationAndMacroCodes) {
    EXPECT_EQ(name("0F010300"), "Fire Mode");
    EXPECT_EQ(name("0F000000"), "Fire Mode");
    EXPECT_EQ(name("02080700"), "Win+D");
    EXPECT_EQ(name("02030405"), "Ctrl+Shift+A+B");
    EXPECT_EQ(name("02010000"), "Ctrl+");
    EXPECT_EQ(name("02000000"), "");
    EXPECT_EQ(name("02000004"), "A");
    EXPECT_EQ(name("020F0000"), "Ctrl+Shift+Alt+Win+");
    EXPECT_EQ(name("020000E3"), "Win");
    EXPECT_EQ(name("02000500"), "B") << "first key only, no trailing plus";
    EXPECT_EQ(name("10840000"), "Reload");
    EXPECT_EQ(name("10FC0000"), "Last");
    EXPECT_EQ(name("10810000"), "");
    EXPECT_EQ(name("10800000"), "");
}

TEST(TagToKeyCode, EveryMenuTag) {
    FakeFireKeys fire;
    const std::map<int, std::string> expected{
        {900, "01010000"},  {901, "01020000"},  {902, "01040000"},  {903, "01080000"},
        {904, "01100000"},  {1000, "0F000000"}, {1001, "05000000"}, {1002, "07000000"},
        {1003, "09000000"}, {1004, "0C000000"}, {1005, "0D000000"}, {1006, "0E000000"},
        {1007, "09010000"}, {1008, "09020000"}, {1100, "04010000"}, {1101, "04020000"},
        {1102, "04030000"}, {1200, "06120010"}, {1201, "06120020"}, {1202, "06120030"},
        {1203, "06120040"}, {1300, "0300CD00"}, {1301, "0300B700"}, {1302, "0300B600"},
        {1303, "0300B500"}, {1304, "0300E900"}, {1305, "0300EA00"}, {1306, "0300E200"},
        {1400, "03022300"}, {1401, "03022100"}, {1402, "03022400"}, {1403, "03022500"},
        {1404, "03022600"}, {1405, "03022700"}, {1406, "03022A00"},
    };
    for (int tag = 0; tag < 2000; ++tag) {
        const auto it = expected.find(tag);
        EXPECT_EQ(TagToKeyCode(tag, fire), it == expected.end() ? "" : it->second) << tag;
    }
    fire.repeat[2] = "15";
    fire.delay[2] = "2000";
    fire.byte2[2] = 0x5F;
    EXPECT_EQ(TagToKeyCode(1202, fire), "061F57D0");
}

TEST(KeyCodeText, ConvertsBothWays) {
    EXPECT_EQ(keyCodeText({0x0E, 0x00, 0x00, 0x00}), "0E000000");
    EXPECT_EQ(keyCodeFromText("0300E900"), (KeyCode{0x03, 0x00, 0xE9, 0x00}));
    EXPECT_FALSE(keyCodeFromText("0300E9"));
    EXPECT_FALSE(keyCodeFromText("0300E9G0"));
    EXPECT_EQ(macroKeyCodeText(0), "10800000");
    EXPECT_EQ(macroKeyCodeText(31), "10FC0000");
}

}  // namespace
}  // namespace keys
