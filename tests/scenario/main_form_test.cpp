// The main window with a simulated mouse on virtual time: start-up, detection, pages,
// navigation refusals, locks, device states and the window's own buttons.
#include "app/main_form.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "app/wait_form.h"
#include "fake_host.h"
#include "image/check_byte.h"
#include "keys/key_code.h"
#include "sim/sim_presets.h"
#include "skin/hover_states.h"

namespace scenario {
namespace {

using testing_support::FakeHost;

struct Window : ::testing::Test {
    FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    std::unique_ptr<app::TForm1> form;
    std::unique_ptr<app::TFormLoadingUI> wait;

    void start() {
        form = std::make_unique<app::TForm1>(host, mouse);
        form->FormCreate();
        wait = std::make_unique<app::TFormLoadingUI>(host);
        wait->FormCreate(form->bounds());
        form->setWaitForm(wait.get());
    }
    // The first tick detects the mouse (3500 ms, then the 2000 ms wait inside it).
    void detect() { host.advance(3500); }
    ui::Control& c(const char* name) { return form->at(name); }
    void click(const char* name) {
        const ui::Rect r = c(name).formBounds();
        form->pointerDown(r.x + r.w / 2, r.y + r.h / 2, ui::MouseButton::Left);
        form->pointerUp(r.x + r.w / 2, r.y + r.h / 2, ui::MouseButton::Left);
    }
    std::string text(const char* key) { return form->languageText(key); }
};

// A macro named like the keyboard-switch or keyboard-reset function opens no page: the pages
// go by the code.
TEST_F(Window, AlternateAndResetPagesGoByCodeNotByName) {
    start();
    detect();
    const struct {
        const char *button, *nameKey, *code, *refusal;
        std::size_t profile;
        int selector;
    } cases[] = {{"Btn_Switch", "Str242", "07000000", "Str020", 0, 2},
                 {"Btn_Fixed", "Str245", "0D000000", "Str021", 1, 3}};
    for (const auto& t : cases) {
        SCOPED_TRACE(t.button);
        click("Btn_Macro");
        c("LB_MacroName").setItemIndex(0);
        form->SetMacroName(text(t.nameKey));
        click("Btn_Adv");
        auto& codes = form->editorImage().keyCodeTexts[t.profile];
        for (auto& code : codes) {
            if (code == t.code) code = keys::macroKeyCodeText(0);
        }
        codes[5] = keys::macroKeyCodeText(0);
        ASSERT_EQ(form->keyName(codes[5]), text(t.nameKey));
        host.messages.clear();
        click(t.button);
        EXPECT_EQ(host.messages, std::vector<std::string>{text(t.refusal)});
        EXPECT_EQ(form->pageSelector(), 4);
        codes[7] = t.code;
        click(t.button);
        EXPECT_EQ(form->pageSelector(), t.selector);
    }
}

TEST_F(Window, StartsCentredWithTheBuiltInImageOnPageOne) {
    start();
    EXPECT_EQ(form->bounds(), (ui::Rect{560, 240, 800, 600}));
    EXPECT_EQ(form->caption(), "Gaming Mouse v1.0");
    EXPECT_EQ(host.titles.front(), "Quorvex Gaming Mouse")
        << "the table's title arrives with the layout";
    EXPECT_EQ(host.applicationTitle(), "Quorvex Gaming Mouse");
    EXPECT_EQ(host.trayIcon, "MAINICON");
    EXPECT_EQ(c("Disable_All").bounds(), (ui::Rect{0, 0, 800, 600}));
    EXPECT_FALSE(c("Disable_All").visible());
    EXPECT_TRUE(c("Disable").visible()) << "the page lock is up until a mouse is read";
    EXPECT_TRUE(c("Img_P1").visible());
    EXPECT_FALSE(c("Img_P2").visible());
    EXPECT_FALSE(c("LB_MacroName").visible());
    EXPECT_EQ(c("Img_P1").picture(), "L1_Back1");
    EXPECT_EQ(c("Img_P1").bounds(), (ui::Rect{195, 104, 472, 379}))
        << "page pictures take their size";
    EXPECT_EQ(c("Pnl_Special").bounds().h, 266);
    EXPECT_TRUE(form->devTimer().enabled());
    EXPECT_EQ(form->devTimer().interval(), 3500);
    // The built-in image names profile 2 as the current one.
    EXPECT_EQ(form->pageSelector(), 2);
    EXPECT_EQ(c("Img_Switch").picture(), "SetS_02");
    EXPECT_EQ(c("Key1").caption(), "Left Key");
    EXPECT_EQ(c("Key6").caption(), "Forward");
    EXPECT_EQ(c("Key4").caption(), "CPI");
    EXPECT_FALSE(c("Key7").visible()) << "layout table 1 disables keys 7 to 12";
    EXPECT_FALSE(c("Btn_Lang1").visible()) << "and the language buttons";
    EXPECT_EQ(c("Edt_Repeat1").caption(), "2");
    EXPECT_EQ(c("Edt_DelayTime4").caption(), "64");
    EXPECT_EQ(c("Edt_Repeat1").alignment(), ui::Align::Right);
    EXPECT_EQ(c("Btn_Apply").caption(), "Apply");
    EXPECT_EQ(c("lbl_DPI8").caption(), "5200");
    EXPECT_EQ(c("Key_Media").caption(), " * Media Fn");
    EXPECT_FALSE(form->link().deviceOpen());
    EXPECT_EQ(wait->bounds(), (ui::Rect{560 + 297, 240 + 202 + 40, 206, 196}));
    EXPECT_FALSE(wait->visible());
}

TEST_F(Window, NarrowScreenPutsTheWindowLeftOfTheEdge) {
    host.screen = {640, 480};
    start();
    EXPECT_EQ(form->bounds().x, -80);
    EXPECT_EQ(form->bounds().y, -60);
    EXPECT_EQ(wait->bounds().x, -80 + 297);
    host.screen = {801, 601};
    start();
    EXPECT_EQ(form->bounds().x, 0) << "division truncates";
}

TEST_F(Window, BeforeAReadNavigationIsRefusedAndTheFirstPaintReadsAMouseThatIsThere) {
    start();
    EXPECT_FALSE(mouse.firmware.counters().commands) << "nothing before the first paint";
    click("Btn_Adv");
    EXPECT_EQ(host.messages, std::vector<std::string>{text("Str022")});
    EXPECT_EQ(form->pageSelector(), 2);
    EXPECT_TRUE(c("Img_P1").visible());
    EXPECT_FALSE(c("Img_P2").visible());
    host.advance(0);  // painted: no tick and no open delay to wait for
    EXPECT_TRUE(form->link().deviceOpen());
    EXPECT_TRUE(host.sleeps.empty());
}

TEST_F(Window, DetectionShowsTheDevicePagesAndNavigationWorks) {
    start();
    detect();
    ASSERT_TRUE(form->link().deviceOpen());
    EXPECT_EQ(form->link().deviceKind(), device::DeviceKind::Macro);
    EXPECT_FALSE(c("Disable").visible());
    EXPECT_TRUE(c("Btn_Macro").visible());
    EXPECT_EQ(c("Pnl_Main").bounds().h, 146);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(wait->visible());
    EXPECT_TRUE(host.shown[wait.get()] == false) << "the wait window came and went";
    EXPECT_TRUE(form->devTimer().enabled());

    click("Btn_Adv");
    EXPECT_EQ(form->pageSelector(), 4);
    EXPECT_TRUE(c("Img_P2").visible());
    EXPECT_TRUE(c("Edt_Repeat1").visible());
    EXPECT_FALSE(c("Img_P1").visible());
    EXPECT_FALSE(c("Key1").visible());
    EXPECT_EQ(c("Img_Adv").picture(), "SetS_02");
    EXPECT_EQ(c("Img_Switch").picture(), "SetS_01");
    click("Btn_Macro");
    EXPECT_TRUE(c("LB_MacroName").visible());
    EXPECT_TRUE(c("Gb_Delay").visible());
    EXPECT_FALSE(c("Gb_Insert").visible());
    EXPECT_EQ(c("LB_MacroName").items().size(), 32u);
    click("Btn_Main");
    EXPECT_TRUE(c("Key1").visible());
    EXPECT_FALSE(c("Key7").visible());
}

// The macros come behind the shown pages: the Macro Page says how far they are and waits;
// what needs them waits in the wait window, which shows how far the rest is.
TEST_F(Window, TheMacrosAreReadBehindThePagesAndWhatNeedsThemWaits) {
    start();
    host.advance(0);
    ASSERT_TRUE(form->link().readingInBackground());
    EXPECT_FALSE(c("Disable_All").visible()) << "the pages are editable";
    click("Btn_Macro");
    EXPECT_TRUE(c("lbl_MacroReading").visible());
    EXPECT_FALSE(c("Btn_New").enabled());
    EXPECT_FALSE(c("Btn_Start").enabled());
    host.advance(100);
    const std::string line = c("lbl_MacroReading").caption();
    EXPECT_EQ(line.rfind(text("Str048"), 0), 0u) << line;
    EXPECT_NE(line, text("Str048") + " 0 %");

    std::vector<int> percents;
    host.onProcessMessages = [&] { percents.push_back(wait->progressPercent()); };
    form->link().Btn_ApplyClick();
    host.onProcessMessages = nullptr;
    std::erase(percents, -1);
    ASSERT_FALSE(percents.empty()) << "the rest of the read shows its progress";
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(wait->progressPercent(), -1) << "the bar goes with the transfer";
    EXPECT_FALSE(form->link().readingInBackground());
    EXPECT_TRUE(host.messages.empty()) << "the complete read was written";
    EXPECT_FALSE(c("lbl_MacroReading").visible());
    EXPECT_TRUE(c("Btn_New").enabled());
    EXPECT_TRUE(c("Btn_Start").enabled());
}

TEST_F(Window, AlternateAndResetPagesNeedTheirFunctions) {
    start();
    detect();
    host.messages.clear();
    auto& texts = form->editorImage().keyCodeTexts;
    texts[0][7] = "01010000";  // profile 1 loses its keyboard-switch key
    click("Btn_Main");
    click("Btn_Switch");
    EXPECT_EQ(host.messages, std::vector<std::string>{text("Str020")});
    EXPECT_EQ(form->pageSelector(), 1);
    click("Btn_Fixed");
    EXPECT_EQ(host.messages.back(), text("Str021")) << "profile 2 has no keyboard-reset key";
    texts[1][3] = "0D000000";
    texts[2][0] = "0300E900";
    click("Btn_Fixed");
    EXPECT_EQ(form->pageSelector(), 3);
    EXPECT_TRUE(c("Disable").visible()) << "the Fixed Control page is locked";
    EXPECT_TRUE(c("Edt_Repeat1").readOnly());
    EXPECT_TRUE(c("Edt_Mode1B").readOnly());
    EXPECT_EQ(c("Key1").caption(), "Volume +") << "profile 3's keys";
    EXPECT_EQ(form->hitTest(c("Key1").formBounds().x + 5, c("Key1").formBounds().y + 5)->name(),
              "Disable");
    click("Btn_Main");
    EXPECT_FALSE(c("Disable").visible());
    EXPECT_FALSE(c("Edt_Repeat1").readOnly());
}

TEST_F(Window, AReadNamingProfileTwoRunsTheAlternateKeyClick) {
    // Profile 1 of the mouse's image without its keyboard-switch key: the click that shows
    // the mouse's profile 2 refuses with its message right after the mouse is attached.
    auto& memory = mouse.firmware.memory();
    const std::size_t button8 = 0x6000 + 110 + 4 * 7;
    memory[button8] = 0x01;
    memory[button8 + 1] = 0x01;
    image::SectionBuf s{};
    std::copy_n(memory.begin() + 0x6000, image::kSectionBufSize, s.begin());
    image::refreshCheckByte(s, image::kProfile);
    memory[0x6000 + 254] = s[254];
    start();
    detect();
    EXPECT_EQ(host.messages, std::vector<std::string>{text("Str020")});
    EXPECT_TRUE(form->link().deviceOpen());
}

TEST_F(Window, UnpluggingBringsTheNoDevicePage) {
    start();
    detect();
    mouse.firmware.unplug();
    host.advance(3500);
    EXPECT_TRUE(c("lbl_NoDev").visible());
    EXPECT_TRUE(c("lbl_CheckDev").visible());
    EXPECT_EQ(c("lbl_NoDev").caption(), "No Device Found");
    EXPECT_TRUE(form->errorPage());
    EXPECT_FALSE(c("Img_P1").visible());
    EXPECT_FALSE(c("Key1").visible());
    EXPECT_TRUE(c("LB_MacroName").items().empty());
    EXPECT_EQ(form->link().deviceKind(), device::DeviceKind::None);
    click("Btn_Main");
    EXPECT_EQ(host.messages.back(), text("Str022"));
    // Plugging it back in reads it again.
    mouse.firmware.plug();
    host.advance(3500);
    EXPECT_FALSE(c("lbl_NoDev").visible());
    EXPECT_FALSE(form->errorPage());
    EXPECT_TRUE(c("Img_P1").visible());
}

TEST_F(Window, ApplyWritesTheImageAndConfirmCloses) {
    start();
    detect();
    click("Btn_Main");
    mouse.firmware.clearTraffic();
    click("Btn_Apply");
    EXPECT_EQ(mouse.firmware.counters().reloads, 1);
    EXPECT_EQ(mouse.firmware.memory()[0x6000 + 29], 0x00) << "page 1 stored as the current profile";
    EXPECT_TRUE(std::equal(form->editorImage().dataBuf.image.begin(),
                           form->editorImage().dataBuf.image.end(),
                           mouse.firmware.memory().begin() + 0x6000));
    EXPECT_EQ(c("Img_Apply").picture(), "BtnS_03") << "pressed until the pointer leaves";
    EXPECT_FALSE(c("Disable_All").visible());
    click("Btn_Confirm");
    EXPECT_EQ(mouse.firmware.counters().reloads, 2);
    EXPECT_EQ(host.closeRequests, 1);
}

TEST_F(Window, ResetShowsTheFactoryImage) {
    start();
    detect();
    click("Btn_Main");
    form->editorImage().keyCodeTexts[0][0] = "01020000";
    form->refreshKeyLabels(1);
    ASSERT_EQ(c("Key1").caption(), "Right Key");
    click("Btn_Reset");
    EXPECT_EQ(c("Key1").caption(), "Left Key");
    EXPECT_EQ(mouse.firmware.counters().reloads, 1);
}

TEST_F(Window, HoverDragExitAndWeb) {
    start();
    detect();
    const ui::Rect adv = c("Btn_Adv").formBounds();
    form->pointerMove(adv.x + 2, adv.y + 2);
    EXPECT_EQ(c("Img_Adv").picture(), "SetS_03");
    form->pointerMove(5, 595);
    EXPECT_EQ(c("Img_Adv").picture(), "SetS_01");
    EXPECT_EQ(c("Img_Switch").picture(), "SetS_02");

    c("Pnl_Main").setVisible(true);
    form->pointerDown(5, 595, ui::MouseButton::Left);
    EXPECT_EQ(host.windowMoves, 1);
    EXPECT_FALSE(c("Pnl_Main").visible()) << "a drag closes the menus";

    click("Btn_Web");
    EXPECT_EQ(host.urls, std::vector<std::string>{"https://www.quorvex-gaming.example/support"});
    EXPECT_EQ(c("Img_Web").picture(), "WebS_02");

    click("Btn_Exit");
    EXPECT_EQ(host.closeRequests, 1);
    EXPECT_TRUE(form->FormCloseQuery());
    EXPECT_FALSE(form->link().deviceOpen()) << "closing gives the mouse up";
    EXPECT_FALSE(form->devTimer().enabled());
}

TEST_F(Window, LanguageSwitchRetranslatesTheKeyLabels) {
    start();
    detect();
    form->Btn_LangClick(2);
    EXPECT_EQ(c("Key1").caption(), "\u5de6\u952e");
    EXPECT_EQ(c("Btn_Apply").caption(), "\u5e94\u7528");
    EXPECT_EQ(c("Img_Lang2").picture(), "SetS_02");
    EXPECT_EQ(c("Img_Lang1").picture(), "SetS_01");
    EXPECT_TRUE(c("Btn_Lang1").visible()) << "table 2 shows the language buttons";
    EXPECT_EQ(host.applicationTitle(), form->language().text("Title"));
    form->Btn_LangClick(3);
    EXPECT_EQ(c("Key1").caption(), "Left Key");
    EXPECT_EQ(c("lbl_DPI8").caption(), "4800");
    EXPECT_TRUE(c("Img_P1").visible()) << "the current page is shown again";
}

// With no mouse at all the count stays at its initial 0; the first tick still looks and says so.
TEST_F(Window, AStartWithoutAMouseShowsNoDeviceAtTheFirstTick) {
    sim::SimBackend nothing;
    FakeHost h;
    app::TForm1 f(h, nothing);
    f.FormCreate();
    f.ButtonTypeCMouseEnter(1);
    ASSERT_TRUE(f.labelRun().enabled());
    f.ShowNoDevicePage();
    EXPECT_FALSE(f.labelRun().enabled()) << "the scrolling label stops with the mouse";
    app::TForm1 g(h, nothing);
    g.FormCreate();
    h.advance(3500 + 2000);
    EXPECT_TRUE(g.at("lbl_NoDev").visible());
    EXPECT_TRUE(g.errorPage());
    EXPECT_FALSE(g.at("Img_P1").visible()) << "the built-in page no longer looks connected";
}

// The selected navigation button is always the one of the page shown.
TEST_F(Window, LoadAndResetKeepThePageAndItsSelectedLook) {
    start();
    detect();
    const auto selectedButtons = [this] {
        std::vector<int> on;
        for (int s = 1; s <= 6; ++s)
            if (c(skin::navigationPicture(s).c_str()).picture() == "SetS_02") on.push_back(s);
        return on;
    };
    const std::string file = ::testing::TempDir() + "quorvex-nav-profile.bin";
    host.saveNames = {file};
    form->Btn_SaveClick();
    click("Btn_Adv");
    host.openNames = {file};
    form->Btn_LoadClick();
    EXPECT_EQ(selectedButtons(), std::vector<int>{4});
    EXPECT_TRUE(c("Img_P2").visible());
    EXPECT_FALSE(c("Img_P1").visible());
    click("Btn_Macro");
    form->link().Btn_ResetClick();
    EXPECT_EQ(selectedButtons(), std::vector<int>{6});
    EXPECT_TRUE(c("LB_MacroName").visible());
    click("Btn_Main");
    EXPECT_EQ(selectedButtons(), std::vector<int>{1});
    std::remove(file.c_str());
}

TEST_F(Window, TheReadOnlyResetControlPageHasNoHint) {
    start();
    detect();
    EXPECT_TRUE(c("lbl_KeyHint").visible());
    form->editorImage().keyCodeTexts[1][6] = "0D000000";  // a keyboard-reset key in profile 2
    click("Btn_Fixed");
    ASSERT_EQ(form->pageSelector(), 3) << (host.messages.empty() ? "" : host.messages.back());
    EXPECT_FALSE(c("lbl_KeyHint").visible());
    click("Btn_Main");
    EXPECT_TRUE(c("lbl_KeyHint").visible());
    click("Btn_Adv");
    EXPECT_FALSE(c("lbl_KeyHint").visible());
    EXPECT_TRUE(c("lbl_DPIHint").visible());
}

}  // namespace
}  // namespace scenario
