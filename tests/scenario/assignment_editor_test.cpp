// Giving the mouse's buttons new functions through the function menus of the Mouse Keys Page.
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "fake_host.h"
#include "image/key_code_texts.h"
#include "sim/sim_presets.h"

namespace scenario {
namespace {

struct Editor : ::testing::Test {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    app::TForm1 form{host, mouse};

    void SetUp() override {
        form.FormCreate();
        host.advance(3500);  // detect and read
        ASSERT_TRUE(form.link().deviceOpen());
        click("Btn_Main");
    }
    ui::Control& c(const std::string& name) { return form.at(name); }
    void point(const std::string& name) {
        const ui::Rect r = c(name).formBounds();
        form.pointerMove(r.x + r.w / 2, r.y + r.h / 2);
    }
    void click(const std::string& name) {
        const ui::Rect r = c(name).formBounds();
        form.pointerDown(r.x + r.w / 2, r.y + r.h / 2, ui::MouseButton::Left);
        form.pointerUp(r.x + r.w / 2, r.y + r.h / 2, ui::MouseButton::Left);
    }
    // Opens the menu of a key, walks to the submenu entry, clicks the leaf.
    void pick(const std::string& key, const std::string& submenuEntry, const std::string& leaf) {
        click(key);
        point(submenuEntry);
        click(leaf);
    }
    const std::string& code(int profile, int button) {
        return form.editorImage().keyCodeTexts[profile - 1][button - 1];
    }
    std::uint8_t profileByte(int profile, int button, int i) {
        return form.editorImage().sectionBuf[image::keyCodeOffset(profile - 1, button - 1) + i];
    }
};

TEST_F(Editor, MediaFunctionForButtonFive) {
    click("Key5");
    EXPECT_TRUE(c("Pnl_Main").visible());
    EXPECT_EQ(form.currentButton(), 5);
    point("Key_Media");
    EXPECT_TRUE(c("Pnl_Media").visible());
    EXPECT_EQ(c("Key_Media").background(), (ui::Color{0, 128, 128}));
    click("Key_VolumePlus");
    EXPECT_FALSE(c("Pnl_Main").visible());
    EXPECT_FALSE(c("Pnl_Media").visible());
    EXPECT_EQ(c("Key5").caption(), "Volume +");
    EXPECT_EQ(code(1, 5), "0300E900");
    EXPECT_EQ(profileByte(1, 5, 2), 0xE9);
    EXPECT_EQ(code(2, 5), "01080000") << "profile 2 is untouched";

    // Away and back: the name lives in the key code texts.
    click("Btn_Adv");
    click("Btn_Main");
    EXPECT_EQ(c("Key5").caption(), "Volume +");

    // It reaches the mouse with Apply.
    click("Btn_Apply");
    EXPECT_EQ(mouse.firmware.memory()[0x6000 + 110 + 4 * 4 + 2], 0xE9);
}

TEST_F(Editor, BasicButtonsExchangeOnlyAmongThemselves) {
    click("Key1");
    EXPECT_TRUE(c("Pnl_LRM").visible());
    EXPECT_FALSE(c("Pnl_Main").visible());
    click("Key_R");
    EXPECT_EQ(code(1, 1), "01020000");
    EXPECT_EQ(code(1, 2), "01010000");
    EXPECT_EQ(code(1, 3), "01040000");
    EXPECT_EQ(c("Key2").caption(), "Left Key");
    click("Key1");
    click("Key_R");
    EXPECT_EQ(code(1, 2), "01010000") << "picking what it has changes nothing";
    // Buttons 4 and up may hold a basic function as well, without any exchange.
    pick("Key4", "Key_Standard", "Key_Left");
    EXPECT_EQ(code(1, 4), "01010000");
    EXPECT_EQ(code(1, 2), "01010000");
}

TEST_F(Editor, AlternateKeyPageEditsProfileTwo) {
    click("Btn_Switch");
    pick("Key4", "Key_Special", "Key_AIM");
    EXPECT_EQ(code(2, 4), "05000000");
    EXPECT_EQ(code(1, 4), "09000000");
    EXPECT_EQ(profileByte(2, 4, 0), 0x05);
    EXPECT_EQ(profileByte(1, 4, 0), 0x09);
}

TEST_F(Editor, FireKeyAndAcpiSubmenusBesideTheSpecialMenu) {
    click("Key4");
    point("Key_Special");
    point("Key_Fire");
    EXPECT_TRUE(c("Pnl_Special").visible());
    EXPECT_TRUE(c("Pnl_Fire").visible());
    click("Key_FireMode2");
    EXPECT_EQ(code(1, 4), "06120020");
    EXPECT_EQ(c("Key4").caption(), "Fire2 Key");
    click("Key6");
    point("Key_Special");
    point("Key_ACPI");
    EXPECT_TRUE(c("Pnl_ACPI").visible());
    EXPECT_FALSE(c("Pnl_Fire").visible());
    point("Key_AIM");
    EXPECT_FALSE(c("Pnl_ACPI").visible()) << "a leaf of the special menu closes its submenus";
    point("Key_Special");
    point("Key_ACPI");
    click("Key_Sleep");
    EXPECT_EQ(code(1, 6), "04020000");
}

TEST_F(Editor, MenusOpenTowardsTheRoomThereIs) {
    // Key2 sits at x 568: its menu opens to the left by the width of Pnl_Main.
    click("Key2");
    const ui::Rect key2 = c("Key2").formBounds();
    EXPECT_EQ(c("Pnl_LRM").bounds().x, key2.x + key2.w / 2 - c("Pnl_Main").bounds().w);
    EXPECT_EQ(c("Pnl_LRM").bounds().y, key2.y + key2.h / 2);
    // A key low in the window opens Pnl_Main upward.
    c("Key6").setPosition(180, 455);
    click("Key6");
    EXPECT_EQ(c("Pnl_Main").bounds().h, 146);
    EXPECT_EQ(c("Pnl_Main").bounds().y, 455 + 15 - 146);
    EXPECT_EQ(c("Pnl_Main").bounds().x, 180 + 48);
    point("Key_Standard");
    EXPECT_EQ(c("Pnl_MseKey").bounds().x, c("Pnl_Main").bounds().x + 1 + 168)
        << "right of the entry";
}

TEST_F(Editor, MacrosFromTheChooser) {
    form.at("LB_Name").setItem(0, "Reload");
    form.at("LB_Name").setItem(31, "Last");
    click("Key5");
    point("Key_Macro");
    EXPECT_TRUE(c("LB_Name").visible());
    form.LB_NameClick(0);
    EXPECT_EQ(code(1, 5), "10800000");
    EXPECT_EQ(c("Key5").caption(), "Reload");
    click("Key5");
    point("Key_Macro");
    form.LB_NameClick(31);
    EXPECT_EQ(code(1, 5), "10FC0000");
    form.refreshKeyLabels(1);
    EXPECT_EQ(c("Key5").caption(), "Last") << "named after the slot";
    click("Key5");
    form.LB_NameClick(-1);
    EXPECT_FALSE(c("Pnl_Main").visible());
    EXPECT_EQ(code(1, 5), "10FC0000");
}

TEST_F(Editor, NothingChangesOnTheResetControlPage) {
    form.editorImage().keyCodeTexts[1][3] = "0D000000";
    click("Btn_Fixed");
    ASSERT_EQ(form.pageSelector(), 3);
    form.ShowPnlMain_OnClick(5);
    EXPECT_FALSE(c("Pnl_Main").visible());
    EXPECT_EQ(form.editableProfile(), 0);
}

TEST_F(Editor, HoveredLabelScrollsAndStopsThePoll) {
    point("Key1");
    EXPECT_EQ(c("Img_Key1").picture(), "KeyS_02");
    EXPECT_FALSE(form.devTimer().enabled());
    EXPECT_TRUE(form.labelRun().enabled());
    host.advance(200);
    EXPECT_EQ(c("Key1").caption(), "eft Key    L");
    host.advance(400);
    EXPECT_EQ(c("Key1").caption(), "t Key    Lef");
    mouse.firmware.clearTraffic();
    mouse.firmware.unplug();  // a poll would now notice the change
    host.advance(10000);
    EXPECT_TRUE(form.link().deviceOpen()) << "no poll while a label scrolls";
    mouse.firmware.plug();
    form.pointerMove(790, 590);
    EXPECT_EQ(c("Key1").caption(), "Left Key");
    EXPECT_EQ(c("Img_Key1").picture(), "KeyS_01");
    EXPECT_TRUE(form.devTimer().enabled());
    EXPECT_FALSE(form.labelRun().enabled());
    // Opening a menu ends the scrolling too.
    point("Key4");
    host.advance(400);
    click("Key4");
    EXPECT_EQ(c("Key4").caption(), "CPI");
    EXPECT_TRUE(form.devTimer().enabled());
}

}  // namespace
}  // namespace scenario
