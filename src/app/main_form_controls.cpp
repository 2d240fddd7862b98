// The controls of the main window, created once with their design places (those of layout
// table 1); the layout table then places them for the current skin set.
#include "app/main_form.h"

#include <string>

namespace app {
namespace {

using ui::Align;
using ui::ControlKind;

constexpr ui::Color kEditBack{113, 111, 100};
constexpr ui::Color kMenuBack{24, 26, 32};
constexpr ui::Color kMenuBorder{227, 38, 46};
constexpr ui::Color kHintText{0x8d, 0x92, 0x9c};

struct MenuSpec {
    const char* panel;
    int width;
    std::initializer_list<const char*> entries;
};

// The function menus of the Mouse Keys Page, 24 pixels an entry. First-level submenus are as
// wide as a Pnl_Main entry less 26 pixels, and the two beside Pnl_Special as wide as its
// entries, so that the placement rules put them edge to edge.
const MenuSpec kMenus[] = {
    {"Pnl_LRM", 143, {"Key_L", "Key_R", "Key_M"}},
    {"Pnl_Main",
     170,
     {"Key_Standard", "Key_Special", "Key_Media", "Key_WWW", "Key_Assembly", "Key_Macro"}},
    {"Pnl_MseKey", 143, {"Key_Left", "Key_Right", "Key_Middle", "Key_B4", "Key_B5"}},
    {"Pnl_Special",
     143,
     {"Key_ACPI", "Key_Fire", "Key_FireMode", "Key_AIM", "Key_Profile", "Key_ReportRate",
      "Key_Default", "Key_LEDMode", "Key_CPI", "Key_CPII", "Key_CPID"}},
    {"Pnl_ACPI", 142, {"Key_Power", "Key_Sleep", "Key_WakeUp"}},
    {"Pnl_Media",
     143,
     {"Key_PlayPause", "Key_Stop", "Key_PreviousTrack", "Key_NextTrack", "Key_VolumePlus",
      "Key_VolumeMinus", "Key_Mute"}},
    {"Pnl_WWW",
     143,
     {"Key_WWWHome", "Key_WWWSearch", "Key_WWWBack", "Key_WWWForward", "Key_WWWStop",
      "Key_WWWRefresh", "Key_WWWFavorites"}},
    {"Pnl_Fire", 142, {"Key_FireMode1", "Key_FireMode2", "Key_FireMode3", "Key_FireMode4"}},
};

}  // namespace

void TForm1::createControls() {
    const auto picture = [this](const std::string& name, int x, int y, int w, int h,
                                ui::Control* parent = nullptr) -> ui::Control& {
        ui::Control& c = add(ControlKind::Picture, name, parent);
        c.setBounds({x, y, w, h});
        return c;
    };
    const auto label = [this](const std::string& name, int x, int y, int w, int h,
                              ui::Control* parent = nullptr) -> ui::Control& {
        ui::Control& c = add(ControlKind::Label, name, parent);
        c.setBounds({x, y, w, h});
        return c;
    };
    // A button: a transparent, centred label over the picture of the same name with "Img_".
    const auto button = [&](const std::string& name, int x, int y, int w, int h,
                            ui::Control* parent = nullptr) {
        picture("Img_" + name.substr(4), x, y, w, h, parent);
        ui::Control& l = label(name, x, y, w, h, parent);
        l.setAlignment(Align::Center);
        l.setVerticalCenter(true);
        return &l;
    };
    const auto edit = [this](const std::string& name, int x, int y, int w, int maxLength,
                             ui::Control* parent = nullptr) -> ui::Control& {
        ui::Control& c = add(ControlKind::Edit, name, parent);
        c.setBounds({x, y, w, 18});
        c.setMaxLength(maxLength);
        c.setBackground(kEditBack);
        c.setBorderColor(kEditBack);
        return c;
    };
    // A ten-step scale: pictures 24 pixels apart, digit labels below them.
    // Pictures get their design-time look here; the settings they show give them their state.
    const auto scale = [&](const std::string& stem, int x, int y) {
        for (int n = 1; n <= 10; ++n) {
            picture("Img_" + stem + std::to_string(n), x + 24 * (n - 1), y, 23, 4)
                .setPicture("Bar1_D");
            ui::Control& digit =
                label("lbl_" + stem + std::to_string(n), x + 24 * (n - 1) - 4, y + 8, 31, 14);
            digit.setAlignment(Align::Center);
            digit.setCaption(std::to_string(n));
        }
    };
    // A choice mark with its click target (the words are in the page picture).
    const auto choice = [&](const std::string& stem, int x, int y, int dx, int dy, int w) {
        picture("Img_" + stem, x, y, 17, 18).setPicture("RdS_D");
        label("lbl_" + stem, x + dx, y + dy, w, 22);
    };

    ui::Control& base = picture("Img_Base", 0, 0, kWidth, kHeight);
    base.setStretch(true);

    // The four pages: their pictures size themselves.
    for (const auto& [name, x, y] : {std::tuple{"Img_P1", 195, 104},
                                     {"Img_P2", 88, 144},
                                     {"Img_P3", 112, 128},
                                     {"Img_P4", 112, 136}}) {
        picture(name, x, y, 0, 0).setAutoSize(true);
    }
    // The light of the Breathing Page, over its page picture: it takes the colour chosen there.
    picture("Img_LightRing", 134, 202, 192, 192).setPicture("LightRing");
    // The Breathing Page of a mouse whose light is not set from here says so.
    ui::Control& noLight = label("lbl_NoLight", 348, 142, 374, 18);
    noLight.setFont({9, {0xE3, 0x26, 0x2E}, false});
    noLight.setAlignment(Align::Center);
    noLight.setVisible(false);
    // The Macro Page says when a recording hears only this window.
    ui::Control& windowOnly = label("lbl_WindowRecording", 132, 138, 450, 18);
    windowOnly.setFont({9, {0xE3, 0x26, 0x2E}, false});
    windowOnly.setAlignment(Align::Center);
    windowOnly.setVisible(false);
    // And how far the macros are while they are read behind the shown pages.
    ui::Control& macroReading = label("lbl_MacroReading", 132, 138, 450, 18);
    macroReading.setFont({9, kHintText, false});
    macroReading.setAlignment(Align::Center);
    macroReading.setVisible(false);
    // What a click on a key label does, under the mouse picture (below every key label, so
    // it never takes their clicks); the read-only Reset Control page has none.
    ui::Control& keyHint = label("lbl_KeyHint", 195, 463, 472, 16);
    keyHint.setFont({7, kHintText, false});
    keyHint.setAlignment(Align::Center);

    // Mouse Keys Page.
    const int keyPlaces[12][2] = {{180, 190}, {568, 190}, {578, 250}, {588, 310},
                                  {180, 305}, {180, 270}, {120, 220}, {98, 216},
                                  {874, 150}, {874, 200}, {874, 250}, {874, 300}};
    for (int n = 1; n <= 12; ++n) {
        picture("Img_Key" + std::to_string(n), keyPlaces[n - 1][0], keyPlaces[n - 1][1], 97, 30);
        ui::Control& key =
            label("Key" + std::to_string(n), keyPlaces[n - 1][0], keyPlaces[n - 1][1], 97, 30);
        key.setAlignment(Align::Center);
        key.setVerticalCenter(true);
        key.setScrollsWhenLong(true);
        key.setFontSize(11);
    }

    // Advanced Page.
    scale("Spd", 136, 194);
    scale("DbSpd", 136, 290);
    scale("ScrSpd", 136, 386);
    for (int n = 1; n <= 8; ++n) {
        // 14 high: the bar is drawn at the top, the rest makes it easier to click.
        picture("Img_DPI" + std::to_string(n), 535 + 29 * (n - 1), 222, 20, 14)
            .setPicture("Bar2_D");
        // 25 wide, so that the levels 29 pixels apart keep a gap of 4 between their texts.
        ui::Control& level =
            label("lbl_DPI" + std::to_string(n), 535 + 29 * (n - 1) - 3, 194, 25, 14);
        level.setAlignment(Align::Center);
        level.setSizeGroup(1);
    }
    // What clicks do on the DPI levels, under them.
    ui::Control& dpiHint = label("lbl_DPIHint", 480, 228, 296, 12);
    dpiHint.setFont({6, kHintText, false});
    choice("Rep1", 486, 294, -4, -2, 86);
    choice("Rep2", 588, 294, -4, -2, 80);
    const int fireX[4] = {556, 612, 666, 720};
    const int modeX[4] = {538, 590, 644, 696};
    for (int n = 1; n <= 4; ++n) {
        edit("Edt_Repeat" + std::to_string(n), fireX[n - 1], 384, 44, 2);
        edit("Edt_DelayTime" + std::to_string(n), fireX[n - 1], 406, 44, 4);
        label("lbl_FKMode" + std::to_string(n), modeX[n - 1], 430, 46, 16)
            .setAlignment(Align::Center);
    }

    // Breathing Page.
    scale("Off", 476, 195);
    scale("Raise", 476, 226);
    scale("On", 476, 253);
    scale("Fall", 476, 278);
    choice("Random", 352, 329, -4, -2, 90);
    choice("Colorful", 476, 329, -4, -2, 90);
    choice("Custom", 582, 329, -4, -2, 90);
    choice("LEDColMode1", 368, 379, -4, -4, 104);
    choice("LEDColMode2", 556, 379, -4, -4, 104);
    for (const auto& [stem, x] : {std::pair{"Edt_Mode1", 390}, {"Edt_Mode2", 578}}) {
        for (int i = 0; i < 3; ++i) edit(std::string(stem) + "RGB"[i], x, 400 + 22 * i, 44, 3);
    }

    // Macro Page.
    ui::Control& names = add(ControlKind::ListBox, "LB_MacroName");
    names.setBounds({132, 186, 200, 122});
    names.setItemHeight(20);
    ui::Control& events = add(ControlKind::ListBox, "LB_macro");
    events.setBounds({353, 183, 230, 284});
    events.setItemHeight(24);
    const char* column[] = {"Btn_New",    "Btn_Start",     "Btn_Clear", "Btn_ExportOne",
                            "Btn_Export", "Btn_ImportOne", "Btn_Import"};
    for (int i = 0; i < 7; ++i) button(column[i], 598, 192 + 26 * i, 80, 25);
    button("Btn_Del", 598, 407, 80, 25);
    button("Btn_Insert", 598, 433, 80, 25);
    picture("Img_InsertBase", 128, 314, 207, 162).setPicture("InsertDelayBase");

    ui::Control& delay = add(ControlKind::GroupBox, "Gb_Delay");
    delay.setBounds({128, 314, 210, 150});
    // The three delay options of a box: a lamp and its click target, 23 pixels apart.
    const auto delayOptions = [&](const std::string& stem, int y, ui::Control& box) {
        for (int i = 0; i < 3; ++i) {
            const std::string option = stem + (i == 0   ? "RecDelay"
                                               : i == 1 ? "DelayTime"
                                                        : "NoDelay");
            picture("LED_" + option, 20, y + 2 + 23 * i, 17, 18, &box).setPicture("RdS_D");
            label("IB_" + option, 18, y + 23 * i, 112, 22, &box);
        }
    };
    delayOptions("", 34, delay);
    edit("Edt_Delay", 137, 56, 44, 5, &delay);

    ui::Control& insert = add(ControlKind::GroupBox, "Gb_Insert");
    insert.setBounds({128, 314, 207, 162});
    ui::Control& combo = add(ControlKind::ComboBox, "CB_Insert", &insert);
    combo.setBounds({68, 4, 132, 20});
    delayOptions("Insert", 32, insert);
    edit("Edt_InsertDelay", 136, 55, 44, 5, &insert);
    label("lbl_Delay", 62, 57, 72, 16, &insert);
    label("lbl_s_A", 180, 57, 24, 16, &insert);
    button("Btn_InsertStart", 114, 100, 80, 25, &insert);
    button("Btn_OK", 110, 126, 40, 25, &insert);
    button("Btn_Cancel", 156, 126, 40, 25, &insert);
    // Laid over the insert options while an insert recording runs.
    ui::Control& cover = label("GB_Dis", 16, 30, 120, 72, &insert);
    cover.setBackground(ui::Color{26, 29, 36});
    cover.setVisible(false);

    // Confirm, Apply, Reset, Exit.
    const char* commands[] = {"Btn_Confirm", "Btn_Apply", "Btn_Reset", "Btn_Exit"};
    for (int i = 0; i < 4; ++i) button(commands[i], 10, 120 + 40 * i, 66, 30);

    // Navigation, profile file and language buttons.
    // The layout puts them 90 pixels apart: each takes 88 of them, its picture stretched.
    const auto rowButton = [&](const std::string& name, int x, int y) {
        button(name, x, y, 88, 36);
        at("Img_" + name.substr(4)).setStretch(true);
    };
    const char* navigation[] = {"Btn_Main", "Btn_Switch", "Btn_Fixed",
                                "Btn_Adv",  "Btn_Breath", "Btn_Macro"};
    for (int i = 0; i < 6; ++i) rowButton(navigation[i], 71 + 90 * i, 484);
    rowButton("Btn_Save", 109, 520);
    rowButton("Btn_Load", 199, 520);
    for (int i = 0; i < 3; ++i) rowButton("Btn_Lang" + std::to_string(i + 1), 289 + 90 * i, 520);
    button("Btn_Web", 528, 104, 264, 21);

    // Device-state labels.
    for (const char* name : {"lbl_NoDev", "lbl_TypeError", "lbl_IDError"}) {
        ui::Control& l = label(name, 94, 254, 680, 40);
        l.setVisible(false);
        l.setFontSize(22);
    }
    ui::Control& check = label("lbl_CheckDev", 94, 304, 680, 30);
    check.setVisible(false);
    check.setFontSize(15);

    // Function menus, hidden until a key label is clicked.
    for (const MenuSpec& m : kMenus) {
        ui::Control& panel = add(ControlKind::Panel, m.panel);
        panel.setBounds({0, 0, m.width, static_cast<int>(m.entries.size()) * 24 + 2});
        panel.setBackground(kMenuBack);
        panel.setBorderColor(kMenuBorder);
        panel.setVisible(false);
        int row = 0;
        for (const char* entry : m.entries) {
            ui::Control& e = label(entry, 1, 1 + 24 * row++, m.width - 2, 24, &panel);
            e.setVerticalCenter(true);
        }
    }
    ui::Control& macroChooser = add(ControlKind::ListBox, "LB_Name");
    macroChooser.setBounds({0, 0, 143, 20 * 8 + 2});
    macroChooser.setItemHeight(20);
    macroChooser.setVisible(false);

    // The two locks lie above every label and picture.
    label("Disable", 88, 144, 700, 325);
    label("Disable_All", 0, 0, kWidth, kHeight).setVisible(false);

    // Never-visible state groups.
    ui::Control& pages = add(ControlKind::RadioGroup, "gbPageCtl");
    pages.setItems({"rb_1", "rb_2", "rb_3", "rb_4", "rb_5", "rb_6"});
    pages.setItemIndex(0);
    ui::Control& languages = add(ControlKind::RadioGroup, "gbLang");
    languages.setItems({"rb_Lang1", "rb_Lang2", "rb_Lang3"});
    languages.setItemIndex(0);
    ui::Control& led = add(ControlKind::RadioGroup, "gbLED");
    led.setItems({"rb_Random", "rb_Colorful", "rb_Custom"});
    led.setItemIndex(0);
    ui::Control& colourMode = add(ControlKind::RadioGroup, "gbLEDColMode");
    colourMode.setItems({"rb_LEDColMode1", "rb_LEDColMode2"});
    colourMode.setItemIndex(0);
    ui::Control& delayMode = add(ControlKind::RadioGroup, "gbDelayMode");
    delayMode.setItems({"rb_RecDelay", "rb_DelayTime", "rb_NoDelay"});
    delayMode.setItemIndex(0);
    ui::Control& insertDelayMode = add(ControlKind::RadioGroup, "gbInsertDelayMode");
    insertDelayMode.setItems({"rb_InsertRecDelay", "rb_InsertDelayTime", "rb_InsertNoDelay"});
    insertDelayMode.setItemIndex(0);
    ui::Control& dpi = add(ControlKind::RadioGroup, "gbDPI");
    dpi.setItems(
        {"rb_DPI1", "rb_DPI2", "rb_DPI3", "rb_DPI4", "rb_DPI5", "rb_DPI6", "rb_DPI7", "rb_DPI8"});
    dpi.setItemIndex(0);
    ui::Control& rates = add(ControlKind::RadioGroup, "gbReport");
    rates.setItems({"rb_Rep1", "rb_Rep2"});
    rates.setItemIndex(0);
    for (const char* memo : {"mmo_macro", "mmo_wrscript"})
        add(ControlKind::Memo, memo).setVisible(false);
}

}  // namespace app
