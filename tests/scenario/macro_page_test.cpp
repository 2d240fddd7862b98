// The macro page with the simulated macro mouse: names, event lists, delete, clear, and the
// names going back to the mouse.
#include <gtest/gtest.h>

#include <tuple>

#include "macros/macro_model.h"
#include "window_fixture.h"

namespace scenario {
namespace {

struct MacroPage : DetectedWindow {
    void SetUp() override {
        DetectedWindow::SetUp();
        form.Btn_MacroClick();
    }
    void selectSlot(int slot) { showSlot(slot); }
    void click(const std::string& name) {
        const ui::Rect r = c(name).formBounds();
        form.pointerDown(r.x + r.w / 2, r.y + r.h / 2, ui::MouseButton::Left);
        form.pointerUp(r.x + r.w / 2, r.y + r.h / 2, ui::MouseButton::Left);
    }
    // Puts an event list into slot 5 and shows it.
    void useSlot5(const std::vector<std::string>& lines) {
        selectSlot(5);
        c("mmo_macro").setItems(lines);
        form.MemoToMacro();
        form.LB_MacroNameClick();
    }
};

TEST_F(MacroPage, TheMouseNamesAndEventsAreShown) {
    EXPECT_EQ(c("LB_MacroName").items().size(), 32u);
    EXPECT_EQ(c("LB_MacroName").items()[0], "Copy");
    EXPECT_EQ(c("LB_Name").items()[1], "Triple click");
    EXPECT_EQ(c("LB_MacroName").items()[2], "");
    selectSlot(0);
    EXPECT_EQ(c("LB_macro").items(),
              (std::vector<std::string>{"Ctrl", "50 ms", "C", "90 ms", "C", "40 ms", "Ctrl"}));
    EXPECT_EQ(c("LB_macro").itemIcons()[0], "Event_Press");
    EXPECT_EQ(c("LB_macro").itemIcons()[1], "Event_Delay");
    EXPECT_EQ(c("LB_macro").itemIcons()[4], "Event_Release");
    EXPECT_EQ(c("LB_macro").itemIndex(), 6) << "the last event is selected";
    EXPECT_EQ(c("gbDelayMode").itemIndex(), 0) << "recorded delays";
    EXPECT_EQ(c("LED_RecDelay").picture(), "RdS_E");
    EXPECT_EQ(c("mmo_wrscript").items().front(),
              "8101FE003282"
              "06FE005A0206FE0028010100");
    selectSlot(1);
    EXPECT_EQ(c("gbDelayMode").itemIndex(), 1) << "four equal delays: the default delay";
    EXPECT_EQ(c("Edt_Delay").caption(), "40");
    selectSlot(2);
    EXPECT_TRUE(c("LB_macro").items().empty());
}

// An unnamed slot is shown by its number, dimmer than a name, in both lists and on a button
// label, in the current language; what the mouse gets stays empty.
TEST_F(MacroPage, UnnamedSlotsAreShownByTheirNumber) {
    for (const char* list : {"LB_MacroName", "LB_Name"}) {
        const ui::Control& l = c(list);
        EXPECT_EQ(l.shownItem(0), "Copy") << list;
        EXPECT_FALSE(l.placeholderShown(0)) << list;
        EXPECT_EQ(l.shownItem(2), "Macro 3") << list;
        EXPECT_TRUE(l.placeholderShown(2)) << list;
        EXPECT_EQ(l.shownItem(31), "Macro 32") << list;
        EXPECT_EQ(l.items()[2], "") << list;
    }
    form.Btn_MainClick();
    form.ShowPnlMain_OnClick(5);
    form.LB_NameClick(2);
    EXPECT_EQ(c("Key5").caption(), "Macro 3");
    form.Btn_LangClick(2);
    EXPECT_EQ(c("Key5").caption(), "\u5b8f 3") << "the label follows the language";
    EXPECT_EQ(c("LB_Name").shownItem(3), "\u5b8f 4");
    form.Btn_LangClick(1);
    form.link().Btn_ApplyClick();
    EXPECT_EQ(mouse.firmware.memory()[0x6400 + 2 * 32 + 3], 0) << "no name is stored";
}

// Record and Rename need a slot; without one they say so and do nothing else.
TEST_F(MacroPage, RecordAndRenameAskForASlot) {
    c("LB_MacroName").setItemIndex(-1);
    for (const char* button : {"Btn_Start", "Btn_New"}) {
        host.messages.clear();
        c(button).onClick(c(button));
        ASSERT_EQ(host.messages.size(), 1u) << button;
        EXPECT_EQ(host.messages[0], "Select a macro in the list first.");
        EXPECT_FALSE(form.isRecording()) << button;
    }
}

TEST_F(MacroPage, DeleteRemovesAnEventWithItsPartner) {
    const std::vector<std::string> lines{"10",   "1 Ctrl CODE:8101", "0 40", "1 A CODE:8204",
                                         "0 60", "2 A CODE:0204",    "0 30", "2 Ctrl CODE:0101"};
    useSlot5(lines);
    c("LB_macro").setItemIndex(2);  // the press of A
    form.Btn_DelClick();
    EXPECT_EQ(form.eventLines(), (std::vector<std::string>{"10", "1 Ctrl CODE:8101", "0 40", "0 60",
                                                           "0 30", "2 Ctrl CODE:0101"}));
    EXPECT_EQ(c("LB_macro").itemIndex(), 1);
    const auto& block = form.editorImage().dataBuf.macros[5];
    EXPECT_EQ(
        (std::vector<int>{block[0], block[1], block[2], block[5], block[8], block[11], block[13]}),
        (std::vector<int>{0x81, 0x01, 0xFE, 0xFE, 0xFE, 0x01, 0x00}));

    c("LB_macro").setItemIndex(4);  // the release of Ctrl takes its press along
    form.Btn_DelClick();
    EXPECT_EQ(form.eventLines(), (std::vector<std::string>{"10", "0 40", "0 60", "0 30"}));
    c("LB_macro").setItemIndex(1);  // a delay goes alone
    form.Btn_DelClick();
    EXPECT_EQ(form.eventLines(), (std::vector<std::string>{"10", "0 40", "0 30"}));
}

TEST_F(MacroPage, DeleteWithoutAPartnerTakesOnlyTheLine) {
    useSlot5({"00", "2 B CODE:0205", "1 A CODE:8204"});
    c("LB_macro").setItemIndex(1);
    form.Btn_DelClick();
    EXPECT_EQ(form.eventLines().size(), 2u);
    EXPECT_EQ(form.eventLines()[1], "2 B CODE:0205");
    c("LB_macro").setItemIndex(0);
    form.Btn_DelClick();
    EXPECT_EQ(form.eventLines().size(), 1u);
}

TEST_F(MacroPage, AFullMacroShowsItsLastEventInRed) {
    std::vector<std::string> lines{"10"};
    for (int i = 0; i < 100; ++i) {
        lines.push_back("1 A CODE:8204");
        lines.push_back("2 A CODE:0204");
    }
    lines.push_back("0 40");
    useSlot5(lines);
    EXPECT_FALSE(c("LB_macro").warnLastItem()) << "counted at edits, not at showing";
    c("LB_macro").setItemIndex(200);  // the delay
    form.Btn_DelClick();
    EXPECT_TRUE(c("LB_macro").warnLastItem());
    c("LB_macro").setItemIndex(0);
    form.Btn_DelClick();
    EXPECT_FALSE(c("LB_macro").warnLastItem());
}

TEST_F(MacroPage, ClearAsksFirst) {
    selectSlot(0);
    host.answers = {false};
    form.Btn_ClearClick();
    EXPECT_EQ(host.questions.back(), form.languageText("Str430"));
    EXPECT_FALSE(c("LB_macro").items().empty());
    host.answers = {true};
    form.Btn_ClearClick();
    EXPECT_TRUE(c("LB_macro").items().empty());
    const auto& names = form.editorImage().dataBuf.macroNames;
    EXPECT_EQ(names[0] << 8 | names[1], 0) << "data length 0";
    EXPECT_EQ(form.editorImage().dataBuf.macros[0][0], 0xFF);
    EXPECT_EQ(c("LB_MacroName").items()[0], "Copy") << "the name stays";
    selectSlot(0);
    EXPECT_TRUE(c("LB_macro").items().empty());
}

TEST_F(MacroPage, NamesInTheListGoToTheMouseWithApply) {
    c("LB_MacroName").setItem(3, "Reload");
    form.link().Btn_ApplyClick();
    const auto& m = mouse.firmware.memory();
    EXPECT_EQ(m[0x6400 + 32 * 3 + 3], 12);
    EXPECT_EQ(m[0x6400 + 32 * 3 + 5], 'R');
    EXPECT_EQ(m[0x6400 + 3], 8) << "Copy is still there";
    EXPECT_EQ(m[0x8000], 0x81) << "the macros went back";
}

// Only the default delay is typed in: the other options, and every option while a recording
// runs (its group is disabled, and so is what the group holds), leave the edit read-only, grey.
TEST_F(MacroPage, TheDelayEditIsTypedInOnlyForTheDefaultDelay) {
    const ui::Color grey = app::TForm1::kUnavailableText, green = form.keptColors().macroListText;
    const std::tuple<const char*, int, bool, ui::Color> cases[] = {
        {"IB_DelayTime", 1, false, green},
        {"IB_RecDelay", 0, true, grey},
        {"IB_NoDelay", 2, true, grey}};
    for (const auto& [option, selected, readOnly, colour] : cases) {
        click(option);
        EXPECT_EQ(c("gbDelayMode").itemIndex(), selected) << option;
        EXPECT_EQ(c("Edt_Delay").readOnly(), readOnly) << option;
        EXPECT_EQ(c("Edt_Delay").font().color, colour) << option;
    }
    form.Btn_LangClick(2);
    EXPECT_EQ(c("Edt_Delay").font().color, grey) << "a new skin set keeps the look";

    selectSlot(4);
    click("IB_DelayTime");
    form.Btn_StartClick();
    EXPECT_EQ(c("Edt_Delay").font().color, grey);
    click("IB_NoDelay");
    EXPECT_EQ(c("gbDelayMode").itemIndex(), 1) << "no option changes while recording";
    form.Btn_StartClick();
    EXPECT_EQ(c("Edt_Delay").font().color, green);
}

TEST_F(MacroPage, FourLongestDelaysShowTheLargestDefaultDelay) {
    useSlot5({"10", "0 65535", "1 A CODE:8204", "0 65535", "2 A CODE:0204", "0 65535", "0 65535"});
    EXPECT_EQ(c("gbDelayMode").itemIndex(), 1);
    EXPECT_EQ(c("Edt_Delay").caption(), "65530");
    EXPECT_FALSE(c("Edt_Delay").readOnly());
}

}  // namespace
}  // namespace scenario
