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

// The window's own input records what the system-wide capture would: either side's Shift, Ctrl
// and Alt as the generic keys, the side buttons as Back and Forward, which press no control.
TEST_F(Recording, TheWindowRecordsAsTheSystemWideCaptureWould) {
    capture->available = false;
    form.IB_NoDelayClick();
    const ui::Rect start = form.at("Btn_Start").formBounds();
    // As a host delivers a button: to the recording, then to the control under the pointer.
    const auto button = [&](ui::MouseButton b) {
        for (const bool down : {true, false}) {
            form.windowButton(b, down);
            down ? form.pointerDown(start.x + 2, start.y + 2, b)
                 : form.pointerUp(start.x + 2, start.y + 2, b);
        }
    };
    button(ui::MouseButton::Back);
    EXPECT_FALSE(form.isRecording()) << "Back does not press Record";
    int baseY = -1;
    for (int y = 0; y < app::TForm1::kHeight && baseY < 0; y += 8)
        if (form.hitTest(4, y) == &form.at("Img_Base")) baseY = y;
    ASSERT_GE(baseY, 0);
    form.pointerDown(4, baseY, ui::MouseButton::Forward);
    EXPECT_EQ(host.windowMoves, 0) << "nor does Forward drag the window by its background";
    form.Btn_StartClick();
    ASSERT_TRUE(form.isRecording());
    for (const int vk : {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5}) {
        form.windowKey(vk, true);
        form.windowKey(vk, false);
    }
    button(ui::MouseButton::Back);
    button(ui::MouseButton::Forward);
    ASSERT_TRUE(form.isRecording()) << "neither side button presses Stop";
    EXPECT_EQ(form.eventLines(),
              (std::vector<std::string>{
                  "00", "1 Shift CODE:8102", "2 Shift CODE:0102", "1 Shift CODE:8102",
                  "2 Shift CODE:0102", "1 Ctrl CODE:8101", "2 Ctrl CODE:0101", "1 Ctrl CODE:8101",
                  "2 Ctrl CODE:0101", "1 Alt CODE:8104", "2 Alt CODE:0104", "1 Alt CODE:8104",
                  "2 Alt CODE:0104", "1 Backward CODE:00B0", "2 Backward CODE:0030",
                  "1 Forward CODE:00A8", "2 Forward CODE:0028"}));
}

// Stop before anything was heard (the Stop click itself is not) leaves the slot as it was, shows
// it again and says why, whichever input the recording had.
TEST_F(Recording, ARecordingThatHeardNothingKeepsTheSlotAndSaysSo) {
    form.Btn_StartClick();
    key(0x41, true);
    key(0x41, false);
    form.Btn_StartClick();
    form.LB_MacroNameClick();
    const auto before = form.editorImage().dataBuf.macros[4];
    const auto shown = form.eventLines();
    ASSERT_EQ(before[0], 0x82);
    for (const bool window : {false, true}) {
        SCOPED_TRACE(window ? "window input" : "system-wide input");
        capture->available = !window;
        host.messages.clear();
        form.Btn_StartClick();
        ASSERT_TRUE(form.isRecording());
        const ui::Rect r = form.at("Btn_Start").formBounds();
        form.pointerMove(r.x + 2, r.y + 2);
        if (window) {
            form.windowButton(ui::MouseButton::Left, true);
        } else {
            capture->handlers.mouse(macros::MouseButton::Left, true);
        }
        form.Btn_StartClick();
        EXPECT_FALSE(form.isRecording());
        EXPECT_EQ(host.messages, std::vector<std::string>{form.languageText("Str074")});
        EXPECT_EQ(form.editorImage().dataBuf.macros[4], before);
        EXPECT_EQ(form.eventLines(), shown) << "the slot is shown again";
        EXPECT_TRUE(form.at("LB_MacroName").enabled());
    }
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
