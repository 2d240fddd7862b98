#include <gtest/gtest.h>

#include <set>

#include "skin/language_table.h"
#include "skin/layout_apply.h"
#include "skin/layout_table.h"

namespace skin {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ascii(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

// UTF-16 little-endian of an ASCII or Latin-1 text, with or without the byte-order mark.
Bytes utf16(const std::u16string& s, bool bom = true) {
    Bytes out;
    if (bom) out = {0xFF, 0xFE};
    for (char16_t c : s) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return out;
}

TEST(LayoutTable, ReadsIniTextAndRefusesNonNumbers) {
    const LayoutTable t = LayoutTable::parse(
        ascii("[other]\r\nSize_A=99\r\n[org1]\r\n; comment=1\r\n//---- banner ----\r\n  Size_A = "
              "11 \r\n"
              "Btn_A1_X=abc\r\nBtn_A1_Y=\r\nKey1_X=-5\r\nSize_A=12\r\nWeb=https://x.example/a b\n"),
        "org1");
    EXPECT_EQ(t.number("Size_A"), 11) << "blanks dropped, the first entry counts";
    EXPECT_EQ(t.number("size_a"), 11) << "keys ignore case";
    EXPECT_FALSE(t.number("Btn_A1_X"));
    EXPECT_FALSE(t.number("Btn_A1_Y"));
    EXPECT_EQ(t.number("Key1_X"), -5);
    EXPECT_FALSE(t.number("comment"));
    EXPECT_FALSE(t.number("Missing"));
    EXPECT_EQ(t.text("Web"), "https://x.example/a b");
    EXPECT_EQ(t.keys().size(), 5u);
}

TEST(LayoutTable, ShippedTablesHoldEveryKeyAndDifferOnlyWhereIntended) {
    const LayoutTable t1 = LayoutTable::load(1), t2 = LayoutTable::load(2),
                      t3 = LayoutTable::load(3);
    ASSERT_EQ(t1.keys().size(), 213u);
    EXPECT_EQ(t1.keys(), t2.keys());
    EXPECT_EQ(t1.keys(), t3.keys());
    std::set<std::string> differing;
    for (const std::string& k : t1.keys()) {
        ASSERT_TRUE(t1.number(k)) << k;
        if (t1.number(k) != t2.number(k)) differing.insert(k);
        EXPECT_EQ(t2.number(k), t3.number(k)) << k;
    }
    for (const std::string& k : differing) {
        EXPECT_TRUE(k.starts_with("Key") || k.starts_with("Btn_B8") || k.starts_with("Btn_B9") ||
                    k.starts_with("Btn_B10"))
            << k << " differs";
    }
    EXPECT_EQ(t1.number("Btn_B8_Enable"), 0);
    EXPECT_EQ(t2.number("Btn_B8_Enable"), 1);
    EXPECT_EQ(LayoutTable::load(0).text("Web").rfind("https://", 0), 0u);
    EXPECT_EQ(LayoutTable::load(0).number("Web_X"), 528);
}

struct Applied : ::testing::Test {
    ui::Form form{"f"};
    KeptLayout kept;
    ui::Control& make(ui::ControlKind kind, const std::string& name, ui::Rect r = {1, 2, 30, 40}) {
        ui::Control& c = form.add(kind, name);
        c.setBounds(r);
        return c;
    }
};

TEST_F(Applied, EnableRuleShowsAndPlacesOrHidesInPlace) {
    ui::Control& lang = make(ui::ControlKind::Label, "Btn_Lang1");
    ui::Control& langPicture = make(ui::ControlKind::Picture, "Img_Lang1");
    ui::Control& key = make(ui::ControlKind::Label, "Key7");
    ui::Control& apply = make(ui::ControlKind::Label, "Btn_Apply");
    apply.setVisible(false);
    const LayoutTable t = LayoutTable::parse(
        ascii("[org1]\r\nBtn_B8_Enable=0\r\nBtn_B8_X=289\r\nBtn_B8_Y=520\r\nKey7_Enable=1\r\nKey7_"
              "X=120\r\n"
              "Key7_Y=220\r\nBtn_A2_Enable=1\r\nBtn_A2_X=10\r\nBtn_A2_Y=160\r\n"),
        "org1");
    applyLayoutTable(form, t, kept);
    EXPECT_FALSE(lang.visible());
    EXPECT_FALSE(langPicture.visible());
    EXPECT_EQ(lang.bounds(), (ui::Rect{1, 2, 30, 40})) << "a disabled control keeps its place";
    EXPECT_TRUE(key.visible());
    EXPECT_EQ(key.bounds(), (ui::Rect{120, 220, 30, 40}));
    EXPECT_TRUE(kept.keyEnabled[6]);
    EXPECT_TRUE(apply.visible());
    EXPECT_EQ(apply.bounds().y, 160);
}

TEST_F(Applied, MissingOrNonNumericValuesLeaveControlsAsTheyWere) {
    ui::Control& check = make(ui::ControlKind::Label, "lbl_CheckDev");
    ui::Control& noDev = make(ui::ControlKind::Label, "lbl_NoDev");
    ui::Control& main = make(ui::ControlKind::Label, "Btn_Main");
    ui::Control& p2 = make(ui::ControlKind::Picture, "Img_P2", {0, 0, 700, 325});
    ui::Control& lock = make(ui::ControlKind::Label, "Disable");
    noDev.setFontSize(5);
    const LayoutTable t = LayoutTable::parse(
        ascii("[org1]\r\nSize_H=22\r\nColor_H_R=1\r\nColor_H_G=x\r\nColor_H_B=3\r\nError_text_X="
              "94\r\n"
              "Btn_B1_Enable=1\r\nBtn_B1_X=71\r\nBtn_B1_Y=oops\r\nP2_X=88\r\nP2_Y=144\r\n"),
        "org1");
    applyLayoutTable(form, t, kept);
    EXPECT_EQ(noDev.font().size, 22);
    EXPECT_EQ(check.font().size, 15) << "the check-device line is 7 points smaller";
    EXPECT_EQ(noDev.font().color, (ui::Color{255, 255, 255})) << "a colour needs all three parts";
    EXPECT_EQ(noDev.bounds().x, 1) << "Error_text_Y is missing";
    EXPECT_TRUE(main.visible());
    EXPECT_EQ(main.bounds().x, 1) << "a place needs both numbers";
    EXPECT_EQ(p2.bounds(), (ui::Rect{88, 144, 700, 325}));
    EXPECT_EQ(lock.bounds(), (ui::Rect{88, 144, 700, 325}))
        << "the page lock covers the Advanced Page";
    EXPECT_EQ(kept.dpiSelected, (ui::Color{255, 0, 0})) << "kept colours stay without their keys";
}

// Numbers beyond anything a window could use are as good as missing, and never overflow.
TEST_F(Applied, OutOfRangeNumbersLeaveControlsAsTheyWere) {
    ui::Control& noDev = make(ui::ControlKind::Label, "lbl_NoDev");
    ui::Control& main = make(ui::ControlKind::Label, "Btn_Main");
    noDev.setFontSize(5);
    const LayoutTable t = LayoutTable::parse(
        ascii("[org1]\r\nSize_H=2147483647\r\nColor_H_R=9223372036854775807\r\nColor_H_G=0\r\n"
              "Color_H_B=0\r\nBtn_B1_Enable=1\r\nBtn_B1_X=2147483647\r\nBtn_B1_Y=5\r\n"
              "Spd_X=-2147483648\r\nSpd_Y=1\r\nMacroNameHeight=-4\r\n"),
        "org1");
    applyLayoutTable(form, t, kept);
    EXPECT_EQ(kept.macroNameItemHeight, 20) << "a list row is 1 to 255 pixels high";
    EXPECT_EQ(noDev.font().size, 5);
    EXPECT_EQ(noDev.font().color, (ui::Color{255, 255, 255}));
    EXPECT_EQ(main.bounds().x, 1);
}

TEST_F(Applied, ScalesAndOffsetsFollowTheirRules) {
    for (int n = 1; n <= 10; ++n) {
        make(ui::ControlKind::Picture, "Img_Spd" + std::to_string(n));
        make(ui::ControlKind::Label, "lbl_Spd" + std::to_string(n));
    }
    make(ui::ControlKind::Label, "lbl_DPI8");
    make(ui::ControlKind::Label, "lbl_Delay");
    const LayoutTable t = LayoutTable::parse(
        ascii(
            "[org1]\r\nSpd_X=136\r\nSpd_Y=194\r\nDPI_X=535\r\nDPI_Y=222\r\nColor_D_Selected_R=9\r\n"
            "Color_D_Selected_G=8\r\nColor_D_Selected_B=7\r\nInsertDelayEdit_X="
            "136\r\nInsertDelayEdit_Y=55\r\n"
            "MacroNameHeight=21\r\n"),
        "org1");
    applyLayoutTable(form, t, kept);
    EXPECT_EQ(form.at("Img_Spd10").bounds().x, 136 + 24 * 9);
    EXPECT_EQ(form.at("lbl_Spd3").bounds().x, 136 + 48 - 4);
    EXPECT_EQ(form.at("lbl_Spd3").bounds().y, 202);
    EXPECT_EQ(form.at("lbl_DPI8").bounds().x, 535 + 29 * 7 - 6);
    EXPECT_EQ(form.at("lbl_DPI8").bounds().y, 194);
    EXPECT_EQ(form.at("lbl_Delay").bounds().x, 62);
    EXPECT_EQ(kept.dpiSelected, (ui::Color{9, 8, 7}));
    EXPECT_EQ(kept.macroNameItemHeight, 21);
}

TEST(LanguageTable, FollowsTheTokenRules) {
    const auto t =
        LanguageTable::parse(utf16(u"[lang3]\r\n\"Str000=Confirm\"\r\n\r\n\"Str001=Say "
                                   u"\"\"hi\"\"\"\r\nStr002=Two words\r\n"
                                   u";Str006=ignored \"Str003=read\"\r\n\"Title = Quorvex Gaming "
                                   u"Mouse \"\r\n[other]\r\n\"Str004=elsewhere\"\r\n"
                                   u"\"str005=Case\"\r\n"),
                             "lang3");
    EXPECT_EQ(t.text("Str000"), "Confirm");
    EXPECT_EQ(t.text("Str001"), "Say \"hi\"");
    EXPECT_EQ(t.text("Str002"), "Two") << "an unquoted entry ends at its first space";
    EXPECT_EQ(t.text("Str006"), "") << "a token starting with ';' is a comment";
    EXPECT_EQ(t.text("Str003"), "read") << "a comment is one token, not the rest of its line";
    EXPECT_EQ(t.text("Title"), "Quorvex Gaming Mouse");
    EXPECT_EQ(t.text("Str004"), "") << "other sections are not looked at";
    EXPECT_EQ(t.text("Str999"), "");
    const auto noMark =
        LanguageTable::parse(utf16(u"[lang1]\r\n\"Str000=OK\"\r\n", false), "lang1");
    EXPECT_EQ(noMark.text("Str000"), "OK");
}

TEST(LanguageTable, KeepsUnicode) {
    const auto t = LanguageTable::parse(
        utf16(u"[lang2]\r\n\"Str001=\u5e94\u7528\"\r\n\"Str002=\xe9t\xe9\"\r\n"), "lang2");
    EXPECT_EQ(t.text("Str001"), "\u5e94\u7528");
    EXPECT_EQ(t.text("Str002"), "\xc3\xa9t\xc3\xa9");
}

TEST(LanguageTable, ShippedTablesHoldEveryKey) {
    const LanguageTable tables[3] = {LanguageTable::load(1), LanguageTable::load(2),
                                     LanguageTable::load(3)};
    for (const auto& t : tables) {
        EXPECT_EQ(t.size(), 166u) << "120 keys and the messages of device and file failures";
        EXPECT_FALSE(t.text("Str023").empty());
        EXPECT_FALSE(t.text("Str058").empty());
        EXPECT_FALSE(t.text("Title").empty());
    }
    EXPECT_EQ(tables[2].text("Str022"), "The specified device not find");
    EXPECT_EQ(tables[2].text("Str020"),
              "Please select the keyboard mode switch button to take effect after the key "
              "definition interface");
    EXPECT_EQ(tables[2].text("Str305"), "2400");
    EXPECT_EQ(tables[0].text("Str305"), "3200");
    EXPECT_EQ(tables[0].text("Str326"), "2400");
    EXPECT_EQ(tables[1].text("Str326"), "1600");
    EXPECT_EQ(tables[0].text("Title"), "Quorvex Gaming Mouse");
    EXPECT_NE(tables[1].text("Str001"), "Apply") << "table 2 is translated";
}

TEST(FindStrKey, LastMatchWinsFromStr100Up) {
    const LanguageTable tables[3] = {LanguageTable::load(1), LanguageTable::load(2),
                                     LanguageTable::load(3)};
    EXPECT_EQ(FindStrKey("Left Key", tables), "Str210");
    EXPECT_EQ(FindStrKey("Stop", tables), "Str401")
        << "Str251 and Str401 read the same; the last wins";
    EXPECT_EQ(FindStrKey("Macro", tables), "Str206") << "Str014 is below Str100 and never found";
    EXPECT_EQ(FindStrKey("\u5de6\u952e", tables), "Str210");
    EXPECT_EQ(FindStrKey("Win+D", tables), "");
    EXPECT_EQ(FindStrKey("", tables), "");
}

}  // namespace
}  // namespace skin
