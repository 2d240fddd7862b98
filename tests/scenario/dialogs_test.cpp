// The combination-key dialog and the macro name dialog.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <functional>

#include "app/combination_dialog.h"
#include "app/main_form.h"
#include "app/name_dialog.h"
#include "fake_host.h"
#include "sim/sim_presets.h"

namespace scenario {
namespace {

constexpr int kA = 0x41, kB = 0x42, kC = 0x43, kShift = 0x10;

struct Dialogs : ::testing::Test {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    app::TForm1 form{host, mouse};
    app::TForm2 combination{form, host};
    app::TForm3 naming{form, host};

    void SetUp() override {
        form.openCombinationDialog = [this] { combination.FormCreate(); };
        form.closeCombinationDialog = [this] { combination.IB_CloseClick(); };
        form.openNameDialog = [this] { naming.FormCreate(); };
        form.FormCreate();
        host.advance(3500);
        form.Btn_MainClick();
    }
    std::string field() { return combination.at("Edt_Assembly").caption(); }
    void tick(const char* box, bool on) {
        combination.at(box).setChecked(on);
        combination.at(box).onClick(combination.at(box));
    }
    void key(int vk, ui::KeyState s = {}) { combination.Edt_AssemblyKeyDown(vk, s); }
    void openFor(int button) {
        form.ShowPnlMain_OnClick(button);
        form.Key_AssemblyClick();
    }
};

TEST_F(Dialogs, CombinationOpensCentredWithItsTexts) {
    openFor(5);
    EXPECT_TRUE(host.shown[&combination]);
    EXPECT_EQ(combination.bounds(),
              (ui::Rect{form.bounds().x + 223, form.bounds().y + 210 + 40, 354, 179}));
    EXPECT_EQ(combination.at("lbl_Assembly").caption(), form.languageText("Str500"));
    EXPECT_EQ(combination.at("IB_Cancel").caption(), form.languageText("Str502"));
    EXPECT_EQ(combination.focus(), &combination.at("Edt_Assembly"));
}

TEST_F(Dialogs, KeysAndModifiersMakeTheCode) {
    openFor(5);
    tick("CB_Ctrl", true);
    key(kA);
    key(kB);
    EXPECT_EQ(field(), "Ctrl+A+B");
    EXPECT_EQ(combination.codeText(), "02010405");
    key(kC);
    EXPECT_EQ(field(), "Ctrl+C") << "a third key starts the keys again";
    EXPECT_EQ(combination.codeText(), "02010600");
    combination.IB_ConfirmClick();
    EXPECT_FALSE(host.shown[&combination]);
    EXPECT_EQ(form.at("Key5").caption(), "Ctrl+C");
    EXPECT_EQ(form.editorImage().keyCodeTexts[0][4], "02010600");
}

// AltGr (Right Alt) and either side's Shift, Ctrl, Alt and Windows key are refused even with no
// modifier state; a key without a position leaves even two entered keys as they are.
TEST_F(Dialogs, EveryModifierAndKeysWithoutAPositionAreRefused) {
    openFor(6);
    for (int vk : {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0x10, 0x11, 0x12, 0x5B, 0x5C, 0x00}) {
        key(vk);
        EXPECT_EQ(field(), "") << vk;
    }
    key(kA);
    key(kB);
    key(0);
    EXPECT_EQ(field(), "A+B");
    EXPECT_EQ(combination.codeText(), "02000405");
    key(0xE2);
    EXPECT_EQ(field(), "\\");
    EXPECT_EQ(combination.codeText(), "02006400");
}

TEST_F(Dialogs, ModifierKeysAreRefusedAndTicksEditTheField) {
    openFor(6);
    key(kA);
    key(kB);
    key(kShift, {true, false, false});
    EXPECT_EQ(field(), "") << "the two keys are gone, nothing added";
    key(kA, {false, true, false});
    key(0x5B);
    EXPECT_EQ(field(), "");
    key(kA);
    tick("CB_Ctrl", true);
    tick("CB_Alt", true);
    EXPECT_EQ(field(), "Ctrl+Alt+A");
    tick("CB_Ctrl", false);
    EXPECT_EQ(field(), "Alt+A");
    tick("CB_Alt", false);
    EXPECT_EQ(field(), "A");
    EXPECT_EQ(combination.focus(), &combination.at("Edt_Assembly"));
}

TEST_F(Dialogs, ClearStartsAgainAndEmptyConfirmGivesAnEmptyCombination) {
    openFor(4);
    key(kA);
    key(kB);
    combination.IB_CancelClick();
    key(kC);
    EXPECT_EQ(combination.codeText(), "02000600");
    tick("CB_Ctrl", true);
    combination.IB_CancelClick();
    EXPECT_FALSE(combination.at("CB_Ctrl").checked());
    tick("CB_Ctrl", true);
    EXPECT_EQ(field(), "Ctrl");
    combination.IB_ConfirmClick();
    EXPECT_EQ(form.editorImage().keyCodeTexts[0][3], "02010000");
    EXPECT_EQ(form.at("Key4").caption(), "Ctrl+") << "named at once as a refresh names it";
    form.refreshKeyLabels(1);
    EXPECT_EQ(form.at("Key4").caption(), "Ctrl+");
}

TEST_F(Dialogs, EveryOpeningStartsEmpty) {
    openFor(4);
    tick("CB_Ctrl", true);
    key(kB);
    combination.at("IB_Close").onClick(combination.at("IB_Close"));
    openFor(5);
    EXPECT_FALSE(combination.at("CB_Ctrl").checked()) << "no tick left from the last opening";
    EXPECT_EQ(field(), "");
    key(kB);
    combination.IB_ConfirmClick();
    EXPECT_EQ(form.editorImage().keyCodeTexts[0][4], "02000500") << "B alone, not Ctrl+B";
    EXPECT_EQ(form.at("Key5").caption(), "B");
}

// A fire key whose repeat edit is empty makes no code: the button keeps label and code.
TEST_F(Dialogs, APickWithoutACodeChangesNothing) {
    const std::string label = form.at("Key5").caption();
    const std::string code = form.editorImage().keyCodeTexts[0][4];
    form.ShowPnlMain_OnClick(5);
    form.KeyStatusOnClick(form.at("Key_Media"));  // a submenu's entry: its tag has no code
    EXPECT_EQ(form.at("Key5").caption(), label);
    EXPECT_EQ(form.editorImage().keyCodeTexts[0][4], code);
}

TEST_F(Dialogs, ClosingGivesNoResult) {
    openFor(4);
    key(kA);
    combination.at("IB_Close").onClick(combination.at("IB_Close"));
    EXPECT_FALSE(host.shown[&combination]);
    EXPECT_EQ(form.editorImage().keyCodeTexts[0][3], "09000000");
    openFor(4);
    EXPECT_EQ(field(), "") << "every opening starts empty";
}

// The dialog is not modal: whatever the user clicks meanwhile, its result goes to the button and
// profile it was opened for, and the labels show it only on that profile's page.
TEST_F(Dialogs, TheResultGoesToTheButtonItWasOpenedFor) {
    struct Case {
        const char* what;
        std::function<void()> meanwhile;
        std::string key5;  // the label of button 5 at Confirm
    };
    const std::string key5 = form.at("Key5").caption(), key7 = form.at("Key7").caption();
    const auto profile2 = form.editorImage().keyCodeTexts[1];
    const std::string code5 = form.editorImage().keyCodeTexts[0][4];
    const Case cases[] = {
        {"another button's menu", [&] { form.ShowPnlMain_OnClick(7); }, "A"},
        {"profile 2's page", [&] { form.Btn_SwitchClick(); }, key5},
        {"the Advanced page", [&] { form.Btn_AdvClick(); }, key5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form.editorImage().keyCodeTexts[0][4] = code5;
        form.Btn_MainClick();
        ASSERT_EQ(form.at("Key5").caption(), key5);
        openFor(5);
        key(kA);
        c.meanwhile();
        combination.IB_ConfirmClick();
        EXPECT_EQ(form.editorImage().keyCodeTexts[0][4], "02000400");
        EXPECT_EQ(form.editorImage().keyCodeTexts[1], profile2);
        EXPECT_EQ(form.at("Key5").caption(), c.key5);
        form.Btn_MainClick();
        EXPECT_EQ(form.at("Key5").caption(), "A");
        EXPECT_EQ(form.at("Key7").caption(), key7);
    }
}

// A new image or a lost mouse takes the dialog away; a Confirm that still comes changes nothing.
TEST_F(Dialogs, ANewImageOrALostMouseClosesTheCombination) {
    const std::string profile = (std::filesystem::temp_directory_path() /
                                 ("quorvex-dialogs-" + std::to_string(::getpid()) + ".bin"))
                                    .string();
    host.saveNames = {profile};
    form.Btn_SaveClick();
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"read", [&] { form.link().Btn_Read(); }},
        {"Reset", [&] { form.link().Btn_ResetClick(); }},
        {"Load Profile",
         [&] {
             host.openNames = {profile};
             form.Btn_LoadClick();
         }},
        {"unplug",
         [&] {
             mouse.firmware.unplug();
             host.advance(3500);
         }},
    };
    for (const auto& [what, meanwhile] : cases) {
        SCOPED_TRACE(what);
        form.Btn_MainClick();
        openFor(5);
        key(kA);
        meanwhile();
        EXPECT_FALSE(host.shown[&combination]);
        const auto codes = form.editorImage().keyCodeTexts;
        const std::string label = form.at("Key5").caption();
        combination.IB_ConfirmClick();
        EXPECT_EQ(form.editorImage().keyCodeTexts, codes);
        EXPECT_EQ(form.at("Key5").caption(), label);
    }
    std::filesystem::remove(profile);
}

// In the name field Enter confirms and Escape closes, as in any dialog; other keys type.
TEST_F(Dialogs, TheNameDialogTakesEnterAndEscape) {
    form.Btn_MacroClick();
    form.at("LB_MacroName").setItemIndex(4);
    for (const auto& [key, named] : {std::pair{0x0D, true}, {0x1B, false}}) {
        form.Btn_NewClick();
        ui::Control& edit = naming.at("Edt_MacroName");
        ASSERT_EQ(naming.focus(), &edit);
        EXPECT_EQ(naming.keyDown(kA), kA) << "a letter is typed";
        edit.setCaption(named ? "Jump" : "Dropped");
        EXPECT_EQ(naming.keyDown(key), 0) << key;
        EXPECT_FALSE(host.shown[&naming]) << key;
        EXPECT_EQ(form.at("LB_MacroName").items()[4], "Jump") << key;
    }
}

TEST_F(Dialogs, RenameGoesToTheSlotSelectedAtConfirm) {
    form.Btn_MacroClick();
    form.at("LB_MacroName").setItemIndex(2);
    form.Btn_NewClick();
    EXPECT_TRUE(host.shown[&naming]);
    EXPECT_EQ(naming.at("Edt_MacroName").maxLength(), 14);
    naming.at("Edt_MacroName").setCaption("Reload");
    form.at("LB_MacroName").setItemIndex(3);
    naming.IB_ConfirmClick();
    EXPECT_EQ(form.at("LB_MacroName").items()[3], "Reload");
    EXPECT_EQ(form.at("LB_Name").items()[3], "Reload");
    EXPECT_EQ(form.at("LB_MacroName").items()[2], "");
    form.Btn_NewClick();
    naming.IB_ConfirmClick();  // empty name: nothing changes
    EXPECT_EQ(form.at("LB_MacroName").items()[3], "Reload");
    form.at("LB_MacroName").setItemIndex(-1);
    host.shown[&naming] = false;
    form.Btn_NewClick();
    EXPECT_FALSE(host.shown[&naming]) << "no slot, no dialog";
}

}  // namespace
}  // namespace scenario
