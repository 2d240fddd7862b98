// The insert panel: delays and short recordings next to the selected event.
#include <gtest/gtest.h>

#include "window_fixture.h"

namespace scenario {
namespace {

struct Insert : DetectedWindow {
    void SetUp() override {
        DetectedWindow::SetUp();
        showSlot(0);  // Copy: 7 events
    }
    void choose(int choice) {
        c("CB_Insert").setItemIndex(choice);
        form.CB_InsertChange();
    }
};

TEST_F(Insert, OpeningDisablesThePageAndShowsThePanel) {
    form.Btn_InsertClick();
    EXPECT_TRUE(form.insertPanelOpen());
    EXPECT_TRUE(c("Gb_Insert").visible());
    EXPECT_FALSE(c("Gb_Delay").visible());
    EXPECT_FALSE(c("LB_MacroName").enabled());
    EXPECT_EQ(c("Img_InsertBase").picture(), "InsertDelayBase");
    EXPECT_FALSE(c("Btn_InsertStart").visible());
    choose(2);
    EXPECT_EQ(c("Img_InsertBase").picture(), "InsertKeyBase");
    EXPECT_TRUE(c("Btn_InsertStart").visible());
    for (const auto& [lamp, picture] :
         std::vector<std::pair<const char*, const char*>>{{"LED_InsertRecDelay", "RdS_E"},
                                                          {"LED_InsertDelayTime", "RdS_D"},
                                                          {"LED_InsertNoDelay", "RdS_D"}}) {
        EXPECT_TRUE(c(lamp).visible()) << lamp;
        EXPECT_EQ(c(lamp).picture(), picture) << lamp;
    }
    form.InsertDelayOption(2);
    EXPECT_EQ(c("LED_InsertNoDelay").picture(), "RdS_E");
    EXPECT_EQ(c("LED_InsertRecDelay").picture(), "RdS_D");
    EXPECT_TRUE(c("Edt_InsertDelay").readOnly());
    // Leaving the page and coming back keeps the panel up.
    form.Btn_AdvClick();
    form.Btn_MacroClick();
    EXPECT_TRUE(c("Gb_Insert").visible());
    EXPECT_FALSE(c("Gb_Delay").visible());
}

// Insert, pressed to open the panel, shows its normal picture again once the panel is closed
// by either of its buttons (the pointer is over those, never back over Insert).
TEST_F(Insert, InsertLooksNormalAgainAfterUse) {
    for (bool ok : {true, false}) {
        form.Btn_InsertClick();
        EXPECT_EQ(c("Img_Insert").picture(), "MacroS_03");
        if (ok)
            form.Btn_OKClick();
        else
            form.Btn_CancelClick();
        EXPECT_FALSE(form.insertPanelOpen());
        EXPECT_EQ(c("Img_Insert").picture(), "MacroS_01") << (ok ? "OK" : "Cancel");
    }
}

TEST_F(Insert, DelayInFrontOfTheThirdEvent) {
    c("LB_macro").setItemIndex(2);
    form.Btn_InsertClick();
    c("Edt_InsertDelay").setCaption("200");
    form.Btn_OKClick();
    EXPECT_FALSE(form.insertPanelOpen());
    EXPECT_TRUE(c("Gb_Delay").visible());
    EXPECT_EQ(form.eventLines()[3], "0 200");
    EXPECT_EQ(form.eventLines()[4], "1 C CODE:8206");
    EXPECT_EQ(c("LB_macro").itemIndex(), 2) << "the new delay is selected";
    EXPECT_EQ(form.editorImage().dataBuf.macros[0][5], 0xFE) << "the slot is compiled";
    EXPECT_TRUE(c("LB_MacroName").enabled());
}

TEST_F(Insert, DelayBehindTheLastEventAndTheLimits) {
    c("LB_macro").setItemIndex(6);
    form.Btn_InsertClick();
    choose(1);
    c("Edt_InsertDelay").setCaption("99999");
    form.Edt_InsertDelayChange();
    EXPECT_EQ(c("Edt_InsertDelay").caption(), "65530");
    c("Edt_InsertDelay").setCaption("0");
    form.Edt_InsertDelayChange();
    EXPECT_EQ(c("Edt_InsertDelay").caption(), "1");
    c("Edt_InsertDelay").setCaption("65530");
    form.Btn_OKClick();
    EXPECT_EQ(form.eventLines().back(), "0 65530");
    EXPECT_EQ(c("LB_macro").itemIndex(), 7);
}

TEST_F(Insert, CancelDropsAnInsertRecording) {
    const auto before = form.editorImage().dataBuf.macros[0];
    c("LB_macro").setItemIndex(3);
    form.Btn_InsertClick();
    choose(3);
    form.Btn_InsertStartClick();
    EXPECT_EQ(c("Btn_InsertStart").caption(), "Stop");
    EXPECT_FALSE(c("Btn_OK").enabled());
    form.KeyboardHook1Receive(0x41, macros::KeyState::On);
    EXPECT_EQ(form.eventLines()[5], "1 A CODE:8204") << "behind the selected event";
    form.Btn_InsertStartClick();
    EXPECT_EQ(c("Btn_InsertStart").caption(), "Record");
    form.Btn_CancelClick();
    EXPECT_EQ(form.editorImage().dataBuf.macros[0], before);
    EXPECT_EQ(form.eventLines().size(), 8u) << "rebuilt from the slot";
    EXPECT_EQ(c("LB_macro").itemIndex(), 3);
}

TEST_F(Insert, OkWithoutASelectedEventKeepsThePanel) {
    form.Btn_InsertClick();
    c("LB_macro").setItemIndex(-1);
    form.Btn_OKClick();
    EXPECT_TRUE(form.insertPanelOpen());
}

}  // namespace
}  // namespace scenario
