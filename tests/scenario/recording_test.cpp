// Recording a macro through the window, with a capture that the test drives.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/main_form.h"
#include "fake_capture.h"
#include "fake_host.h"
#include "sim/sim_presets.h"

namespace scenario {
namespace {

struct Recording : ::testing::Test {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    app::TForm1 form{host, mouse};
    FakeCapture* capture = nullptr;

    void SetUp() override {
        auto c = std::make_unique<FakeCapture>();
        capture = c.get();
        form.setInputCapture(std::move(c));
        form.FormCreate();
        host.advance(3500);
        form.Btn_MacroClick();
        form.at("LB_MacroName").setItemIndex(4);
        form.LB_MacroNameClick();
    }
    void key(int vk, bool down) { capture->handlers.key(vk, down); }
};

TEST_F(Recording, RecordsIntoTheSelectedSlotAndCompilesAtStop) {
    form.Btn_StartClick();
    ASSERT_TRUE(capture->running);
    EXPECT_EQ(form.at("Btn_Start").caption(), "Stop");
    EXPECT_FALSE(form.at("LB_MacroName").enabled());
    EXPECT_FALSE(form.at("Gb_Delay").enabled());
    key(0x41, true);
    host.advance(300);
    key(0x41, false);
    host.advance(100);
    capture->handlers.mouse(macros::MouseButton::Right, true);
    EXPECT_EQ(form.eventLines(),
              (std::vector<std::string>{"10", "1 A CODE:8204", "0 300", "2 A CODE:0204", "0 100",
                                        "1 RightKey CODE:00A2"}));
    EXPECT_EQ(form.at("LB_macro").items().back(), "RightKey");
    form.Btn_StartClick();
    EXPECT_FALSE(capture->running);
    EXPECT_EQ(form.at("Btn_Start").caption(), "Record");
    EXPECT_TRUE(form.at("LB_MacroName").enabled());
    const auto& block = form.editorImage().dataBuf.macros[4];
    EXPECT_EQ((std::vector<int>{block[0], block[1], block[2], block[3], block[4]}),
              (std::vector<int>{0x82, 0x04, 0xFE, 0x01, 0x2C}));
    EXPECT_EQ(form.editorImage().dataBuf.macroNames[4 * 32 + 1], 12)
        << "data length with the end mark";
}

TEST_F(Recording, TheStartClickIsNotRecorded) {
    form.Btn_StartClick();
    const ui::Rect r = form.at("Btn_Start").formBounds();
    form.pointerMove(r.x + 2, r.y + 2);
    capture->handlers.mouse(macros::MouseButton::Left, true);
    capture->handlers.mouse(macros::MouseButton::Left, false);
    capture->handlers.mouse(macros::MouseButton::Right, true);
    EXPECT_EQ(form.eventLines(), (std::vector<std::string>{"10", "1 RightKey CODE:00A2"}));
}

TEST_F(Recording, TheHundredthReleaseStops) {
    form.Btn_StartClick();
    for (int i = 0; i < 100; ++i) {
        key(0x42, true);
        key(0x42, false);
    }
    EXPECT_FALSE(form.isRecording());
    EXPECT_FALSE(capture->running);
    EXPECT_EQ(form.at("Btn_Start").caption(), "Record");
    key(0x42, true);
    EXPECT_EQ(form.eventLines().size(), 201u) << "nothing more after the stop";
}

// Stop stops whatever is selected, and so does the mouse going away; either way the recording
// lands in the slot it was started for.
TEST_F(Recording, StopAlwaysStopsIntoTheSlotOfTheStart) {
    for (const bool unplug : {false, true}) {
        SCOPED_TRACE(unplug ? "unplugged" : "Stop with no slot selected");
        form.Btn_MacroClick();
        form.at("LB_MacroName").setItemIndex(4);
        form.Btn_StartClick();
        key(0x41, true);
        key(0x41, false);
        if (unplug) {
            mouse.firmware.unplug();
            host.advance(3500);
            EXPECT_TRUE(form.at("lbl_NoDev").visible());
        } else {
            form.at("LB_MacroName").setItemIndex(-1);
            form.Btn_StartClick();
        }
        EXPECT_FALSE(form.isRecording());
        EXPECT_FALSE(capture->running) << "no input is captured any more";
        EXPECT_EQ(form.at("Btn_Start").caption(), "Record");
        const auto& block = form.editorImage().dataBuf.macros[4];
        EXPECT_EQ((std::vector<std::uint8_t>(block.begin(), block.begin() + 2)),
                  (std::vector<std::uint8_t>{0x82, 0x04}))
            << "compiled into slot 4";
    }
}

// A key held across a start or a stop does not make later recordings drop its presses.
TEST_F(Recording, AKeyHeldAcrossAStopLeavesLaterRecordingsWhole) {
    form.Btn_StartClick();
    key(0x41, true);
    form.Btn_StartClick();  // stopped while A is held
    key(0x41, false);
    form.Btn_StartClick();
    for (int i = 0; i < 2; ++i) {
        key(0x41, true);
        key(0x41, false);
    }
    const auto& lines = form.eventLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "1 A CODE:8204"), 2);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "2 A CODE:0204"), 2);
}

TEST_F(Recording, WithoutCaptureTheWindowsOwnInputRecordsAndThePageSaysSo) {
    capture->available = false;
    form.Btn_StartClick();
    ASSERT_TRUE(form.isRecording());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(form.at("lbl_WindowRecording").visible());
    form.windowKey(0x41, true);
    form.windowKey(0x41, false);
    form.windowButton(ui::MouseButton::Right, true);
    form.windowButton(ui::MouseButton::Right, false);
    form.Btn_StartClick();
    EXPECT_FALSE(form.at("lbl_WindowRecording").visible());
    const auto& lines = form.eventLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "1 A CODE:8204"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "2 A CODE:0204"), 1);
    EXPECT_EQ(form.editorImage().dataBuf.macros[4][0], 0x82) << "compiled into the slot";
    form.windowKey(0x42, true);
    EXPECT_EQ(std::count(form.eventLines().begin(), form.eventLines().end(), "1 B CODE:8205"), 0)
        << "nothing is heard after Stop";
}

TEST_F(Recording, WithoutAnyInputNothingStartsAndTheSlotStays) {
    capture->available = false;
    host.windowInput = false;
    const auto before = form.editorImage().dataBuf.macros[4];
    form.Btn_StartClick();
    EXPECT_EQ(host.messages, std::vector<std::string>{form.languageText("Str036")});
    EXPECT_FALSE(form.isRecording());
    EXPECT_EQ(form.at("Btn_Start").caption(), "Record");
    EXPECT_TRUE(form.at("LB_MacroName").enabled());
    form.Btn_StartClick();
    EXPECT_EQ(form.editorImage().dataBuf.macros[4], before);
}

TEST_F(Recording, TheDelayOptionsStayLockedWhileRecording) {
    form.Btn_StartClick();
    form.Btn_AdvClick();
    form.Btn_MacroClick();
    EXPECT_FALSE(form.at("Gb_Delay").enabled()) << "after leaving the page and coming back";
    form.LockWindow();
    form.UnlockWindow();
    EXPECT_FALSE(form.at("Gb_Delay").enabled()) << "after a device operation";
    form.Btn_StartClick();
    EXPECT_TRUE(form.at("Gb_Delay").enabled());
}

// Events beyond the slot's 1,024 bytes are not stored, and the list says so by showing only
// what was.
TEST_F(Recording, AFullMacroSaysSoAndShowsWhatWasStored) {
    std::vector<std::string> lines{"10"};
    for (int i = 0; i < 400; ++i) lines.push_back("0 100");  // three bytes each
    form.at("mmo_macro").setItems(lines);
    form.MemoToMacro();
    EXPECT_EQ(host.messages, std::vector<std::string>{form.languageText("Str037")});
    EXPECT_EQ(form.eventLines().size(), 1u + 341u) << "1,023 bytes of events and the end mark";
    EXPECT_EQ(form.at("LB_macro").items().size(), 341u);
}

// Windows took the mouse hook away mid-recording: the user learns that clicks may be missing,
// and the recording goes on.
TEST_F(Recording, InputTheSystemWithheldIsTold) {
    form.Btn_StartClick();
    capture->handlers.inputLost();
    EXPECT_EQ(host.messages, std::vector<std::string>{form.languageText("Str064")});
    EXPECT_TRUE(capture->running);
    key(0x41, true);
    EXPECT_EQ(form.eventLines().back(), "1 A CODE:8204");
}

TEST_F(Recording, NeedsASelectedSlot) {
    form.at("LB_MacroName").setItemIndex(-1);
    form.Btn_StartClick();
    EXPECT_FALSE(capture->running);
}

// Text that comes in without key presses (pasted, dropped) keeps only its digits.
TEST_F(Recording, DigitEditsStayDigits) {
    for (const auto& [edit, pasted, kept] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"Edt_Delay", "ab", "1"},
             {"Edt_Delay", "1a2b", "12"},
             {"Edt_InsertDelay", "x70", "70"},
             {"Edt_Repeat1", "3z", "3"},
             {"Edt_DelayTime2", "2 5", "25"}}) {
        SCOPED_TRACE(edit + " <- " + pasted);
        ui::Control& e = form.at(edit);
        e.setCaption(pasted);  // as the toolkit's edit hands it over
        e.onChange(e);
        EXPECT_EQ(e.caption(), kept);
    }
    form.IB_DelayTimeClick();
    form.Btn_StartClick();
    key(0x41, true);
    EXPECT_EQ(form.eventLines().front(), "0112") << "the mode line carries digits only";
}

}  // namespace
}  // namespace scenario
