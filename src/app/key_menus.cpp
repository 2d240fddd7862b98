// The assignment editor: the function menus that open from the key labels, the picks that
// give a button its code, and the scrolling of a hovered key label.
#include <string>

#include "app/main_form.h"
#include "keys/assignment.h"
#include "keys/key_code.h"
#include "skin/pictures.h"

namespace app {
namespace {

constexpr ui::Color kHighlight{0, 128, 128};
constexpr ui::Color kHighlightText{255, 255, 255};
// The entries' own text colour: light, so that it reads on the dark menus.
constexpr ui::Color kEntryText{230, 232, 236};

// Submenu entries and their tags; the tag picks the submenu.
const std::pair<const char*, int> kSubmenuEntries[] = {
    {"Key_Standard", 1}, {"Key_Special", 2}, {"Key_Media", 3}, {"Key_WWW", 4},
    {"Key_ACPI", 5},     {"Key_Fire", 6},    {"Key_Macro", 7}};

// Leaf entries and the tags that TagToKeyCode knows.
const std::pair<const char*, int> kLeafEntries[] = {
    {"Key_Left", 900},
    {"Key_Right", 901},
    {"Key_Middle", 902},
    {"Key_B4", 903},
    {"Key_B5", 904},
    {"Key_FireMode", 1000},
    {"Key_AIM", 1001},
    {"Key_Profile", 1002},
    {"Key_CPI", 1003},
    {"Key_ReportRate", 1004},
    {"Key_Default", 1005},
    {"Key_LEDMode", 1006},
    {"Key_CPII", 1007},
    {"Key_CPID", 1008},
    {"Key_Power", 1100},
    {"Key_Sleep", 1101},
    {"Key_WakeUp", 1102},
    {"Key_FireMode1", 1200},
    {"Key_FireMode2", 1201},
    {"Key_FireMode3", 1202},
    {"Key_FireMode4", 1203},
    {"Key_PlayPause", 1300},
    {"Key_Stop", 1301},
    {"Key_PreviousTrack", 1302},
    {"Key_NextTrack", 1303},
    {"Key_VolumePlus", 1304},
    {"Key_VolumeMinus", 1305},
    {"Key_Mute", 1306},
    {"Key_WWWHome", 1400},
    {"Key_WWWSearch", 1401},
    {"Key_WWWBack", 1402},
    {"Key_WWWForward", 1403},
    {"Key_WWWStop", 1404},
    {"Key_WWWRefresh", 1405},
    {"Key_WWWFavorites", 1406},
};
const std::pair<const char*, int> kBasicEntries[] = {
    {"Key_L", 900}, {"Key_R", 901}, {"Key_M", 902}};
const char* const kSpecialLeaves[] = {"Key_FireMode",   "Key_AIM",     "Key_Profile",
                                      "Key_ReportRate", "Key_Default", "Key_LEDMode",
                                      "Key_CPI",        "Key_CPII",    "Key_CPID"};
const char* const kFirstLevel[] = {"Pnl_MseKey", "Pnl_Special", "Pnl_Media", "Pnl_WWW",
                                   "Pnl_ACPI",   "Pnl_Fire",    "LB_Name"};

// The name a pick puts on a label: the entry's caption without its " * " prefix.
std::string nameOf(const ui::Control& entry) {
    const std::string& c = entry.caption();
    return c.size() > 3 ? c.substr(3) : std::string();
}

void highlight(ui::Control& entry, bool on) {
    entry.setBackground(on ? std::optional<ui::Color>(kHighlight) : std::nullopt);
    entry.setFontColor(on ? kHighlightText : kEntryText);
}

}  // namespace

void TForm1::setupMenus() {
    host_.attachTimer(labelRun_);
    labelRun_.onTimer = [this] { LabelRunTimer(); };
    const auto entryLook = [](ui::Control& e) {
        e.setFontColor(kEntryText);
        e.setFontSize(9);
    };
    for (const auto& [name, tag] : kSubmenuEntries) {
        ui::Control& e = control(name);
        e.setTag(tag);
        entryLook(e);
        e.onMouseEnter = [this](ui::Control& c) { KeyByTagMouseEnter(c); };
        e.onMouseLeave = [](ui::Control& c) { highlight(c, false); };
    }
    // ">>" beside the entries that open a submenu.
    for (const auto& [entry, label] : {std::pair{"Key_Standard", "ST_Standard"},
                                       {"Key_Special", "ST_Special"},
                                       {"Key_Media", "ST_Media"},
                                       {"Key_WWW", "ST_WWW"},
                                       {"Key_ACPI", "ST_ACPI"},
                                       {"Key_Fire", "ST_Fire"}}) {
        ui::Control& e = control(entry);
        ui::Control& st = add(ui::ControlKind::Label, label, e.parent());
        st.setBounds({e.bounds().x + e.bounds().w - 24, e.bounds().y, 20, e.bounds().h});
        st.setCaption(">>");
        st.setVerticalCenter(true);
        st.setFontSize(8);
        st.setFontColor(kEntryText);
        // The arrow passes the pointer on as if it were its entry.
        ui::Control* owner = &e;
        st.onMouseEnter = [owner](ui::Control&) { owner->onMouseEnter(*owner); };
        st.onMouseLeave = [owner](ui::Control&) { owner->onMouseLeave(*owner); };
    }
    for (const auto& [name, tag] : kLeafEntries) {
        ui::Control& e = control(name);
        e.setTag(tag);
        entryLook(e);
        e.onMouseEnter = [this](ui::Control& c) { KeyStatusMouseEnter(c); };
        e.onMouseLeave = [this](ui::Control& c) { KeyStatusMouseLeave(c); };
        e.onClick = [this](ui::Control& c) { KeyStatusOnClick(c); };
    }
    for (const auto& [name, tag] : kBasicEntries) {
        ui::Control& e = control(name);
        e.setTag(tag);
        entryLook(e);
        e.onMouseEnter = [this](ui::Control& c) { KeyStatusMouseEnter(c); };
        e.onMouseLeave = [this](ui::Control& c) { KeyStatusMouseLeave(c); };
        e.onClick = [this](ui::Control& c) { Key_SwitchLRMOnClick(c); };
    }
    ui::Control& assembly = control("Key_Assembly");
    entryLook(assembly);
    assembly.onMouseEnter = [this](ui::Control& c) { KeyStatusMouseEnter(c); };
    assembly.onMouseLeave = [this](ui::Control& c) { KeyStatusMouseLeave(c); };
    assembly.onClick = [this](ui::Control&) { Key_AssemblyClick(); };
    control("Key_Macro").onClick = [this](ui::Control&) { Key_AssemblyClick(); };

    ui::Control& chooser = control("LB_Name");
    chooser.setBackground(ui::Color{24, 26, 32});
    chooser.setBorderColor(ui::Color{227, 38, 46});
    chooser.setFontColor(kEntryText);
    chooser.onClick = [this](ui::Control& c) { LB_NameClick(c.itemIndex()); };

    for (int n = 1; n <= 12; ++n) {
        ui::Control& key = control("Key" + std::to_string(n));
        key.onClick = [this, n](ui::Control&) {
            if (n <= 3) {
                ShowLRM_OnClick(n);
            } else {
                ShowPnlMain_OnClick(n);
            }
        };
        key.onMouseEnter = [this, n](ui::Control&) { ButtonTypeCMouseEnter(n); };
        key.onMouseLeave = [this, n](ui::Control&) { ButtonTypeCMouseLeave(n); };
    }
}

int TForm1::editableProfile() const {
    const int selector = pageSelector();
    return selector == 1 || selector == 2 ? selector : 0;
}

// ---- opening the menus ----

// No menu opens on the Reset Control page: nothing may change there.
void TForm1::ShowLRM_OnClick(int button) {
    if (!editableProfile()) return;
    currentButton_ = button;
    endLabelScrolling();
    HideAllMenu();
    const ui::Rect label = control("Key" + std::to_string(button)).formBounds();
    ui::Control& menu = control("Pnl_LRM");
    int x = label.x + label.w / 2;
    if (label.x >= 400) x -= control("Pnl_Main").bounds().w;
    menu.setPosition(x, label.y + label.h / 2);
    menu.setVisible(true);
    bringToFront(menu);
}

void TForm1::ShowPnlMain_OnClick(int button) {
    if (!editableProfile()) return;
    currentButton_ = button;
    endLabelScrolling();
    HideAllMenu();
    const ui::Rect label = control("Key" + std::to_string(button)).formBounds();
    ui::Control& menu = control("Pnl_Main");
    int x = label.x + label.w / 2;
    if (label.x >= 400) x -= menu.bounds().w;
    int y = label.y + label.h / 2;
    if (label.y + menu.bounds().h >= kHeight) y -= menu.bounds().h;
    menu.setPosition(x, y);
    menu.setVisible(true);
    bringToFront(menu);
}

void TForm1::placeSubmenu(ui::Control& submenu, const ui::Control& parent, const ui::Control& entry,
                          bool upward, int leftOffset) {
    const ui::Rect p = parent.bounds(), e = entry.bounds();
    const bool right = control("Pnl_Main").bounds().x < 400;
    const int x = right ? p.x + e.x + e.w : p.x - e.x - e.w + leftOffset;
    int y = p.y + e.y;
    if (upward && y + submenu.bounds().h >= kHeight) y = p.y + e.y + e.h - submenu.bounds().h;
    submenu.setPosition(x, y);
    submenu.setVisible(true);
    bringToFront(submenu);
}

void TForm1::KeyByTagMouseEnter(ui::Control& entry) {
    highlight(entry, true);
    const int tag = entry.tag();
    const auto hideExcept = [this](std::initializer_list<const char*> keep) {
        for (const char* menu : kFirstLevel) {
            bool kept = false;
            for (const char* k : keep) kept |= std::string_view(k) == menu;
            if (!kept) control(menu).setVisible(false);
        }
    };
    if (tag >= 1 && tag <= 4) {
        const char* submenu = tag == 1   ? "Pnl_MseKey"
                              : tag == 2 ? "Pnl_Special"
                              : tag == 3 ? "Pnl_Media"
                                         : "Pnl_WWW";
        hideExcept({submenu});
        placeSubmenu(control(submenu), control("Pnl_Main"), entry, true, 26);
    } else if (tag == 5 || tag == 6) {
        const char* submenu = tag == 5 ? "Pnl_ACPI" : "Pnl_Fire";
        hideExcept({"Pnl_Special", submenu});
        placeSubmenu(control(submenu), control("Pnl_Special"), entry, false, 0);
    } else if (tag == 7) {
        hideExcept({"LB_Name"});
        if (!control("LB_MacroName").items().empty()) {
            placeSubmenu(control("LB_Name"), control("Pnl_Main"), entry, true, 26);
        } else {
            control("LB_Name").setVisible(false);
        }
    }
}

void TForm1::KeyStatusMouseEnter(ui::Control& entry) {
    highlight(entry, true);
    if (entry.name() == "Key_Assembly") {
        for (const char* menu : kFirstLevel) control(menu).setVisible(false);
        return;
    }
    for (const char* leaf : kSpecialLeaves) {
        if (entry.name() == leaf) {
            control("Pnl_ACPI").setVisible(false);
            control("Pnl_Fire").setVisible(false);
        }
    }
}

void TForm1::KeyStatusMouseLeave(ui::Control& entry) {
    highlight(entry, false);
}

// ---- picks ----

void TForm1::storeKey(int profile, int button, const std::string& code, const std::string& name) {
    // A pick that makes no code changes nothing: the label always names the stored code.
    if (button < 1 || button > 12 || profile < 1 || profile > 2 || !keys::keyCodeFromText(code))
        return;
    // The labels show the profile whose page is up; another profile's button keeps only its code.
    if (editableProfile() == profile) {
        ui::Control& label = control("Key" + std::to_string(button));
        label.setCaption(name);
        if (scrolling_.label == &label) scrolling_.caption = name;
    }
    keys::storeKeyCode(image_, profile, button, code);
}

void TForm1::storeForCurrentButton(const std::string& code, const std::string& name) {
    storeKey(editableProfile(), currentButton_, code, name);
}

void TForm1::KeyStatusOnClick(ui::Control& entry) {
    HideAllMenu();
    storeForCurrentButton(keys::TagToKeyCode(entry.tag(), fireKeySettings()), nameOf(entry));
}

void TForm1::Key_SwitchLRMOnClick(ui::Control& entry) {
    control("Pnl_LRM").setVisible(false);
    const int profile = editableProfile();
    if (!profile || currentButton_ < 1 || currentButton_ > 3) return;
    const std::string picked = keys::TagToKeyCode(entry.tag(), fireKeySettings());
    std::array<std::string, 3> codes;
    const auto p = static_cast<std::size_t>(profile - 1);
    for (std::size_t b = 0; b < 3; ++b) codes[b] = image_.keyCodeTexts[p][b];
    const auto exchanged = keys::exchangeBasicFunction(codes, currentButton_, picked);
    for (int b = 1; b <= 3; ++b) {
        const std::string& code = exchanged[static_cast<std::size_t>(b - 1)];
        if (b == currentButton_ || code != codes[static_cast<std::size_t>(b - 1)]) {
            control("Key" + std::to_string(b)).setCaption(keyName(code));
        }
        keys::storeKeyCode(image_, profile, b, code);
    }
}

void TForm1::Key_AssemblyClick() {
    HideAllMenu();
    host_.processMessages();
    // The dialog is not modal: clicks on other buttons or pages meanwhile do not move its result.
    pending_ = {};
    pending_.profile = editableProfile();
    pending_.button = currentButton_;
    if (openCombinationDialog) openCombinationDialog();
}

void TForm1::ApplyAssemblyKey() {
    if (!pending_.ready) return;
    pending_.ready = false;
    // Named as a refresh of the labels would name it ("Ctrl+" for a modifier alone).
    storeKey(pending_.profile, pending_.button, pending_.code, keyName(pending_.code));
}

void TForm1::abandonCombination() {
    pending_ = {};
    if (closeCombinationDialog) closeCombinationDialog();
}

void TForm1::LB_NameClick(int row) {
    control("Pnl_Main").setVisible(false);
    control("LB_Name").setVisible(false);
    const ui::Control& chooser = control("LB_Name");
    if (row < 0 || row >= static_cast<int>(chooser.items().size()) ||
        row >= static_cast<int>(image::kMacroCount))
        return;
    storeForCurrentButton(keys::macroKeyCodeText(row),
                          chooser.shownItem(static_cast<std::size_t>(row)));
}

// ---- the hovered key label scrolls ----

void TForm1::ButtonTypeCMouseEnter(int button) {
    ui::Control& label = control("Key" + std::to_string(button));
    skin::showPicture(control("Img_Key" + std::to_string(button)), "KeyS_02");
    scrolling_ = {&label, label.caption(), 0};
    devTimer_.setEnabled(false);
    labelRun_.setEnabled(true);
}

void TForm1::ButtonTypeCMouseLeave(int button) {
    skin::showPicture(control("Img_Key" + std::to_string(button)), "KeyS_01");
    endLabelScrolling();
}

void TForm1::endLabelScrolling() {
    if (scrolling_.label) {
        skin::showPicture(control("Img_" + scrolling_.label->name()), "KeyS_01");
        scrolling_.label->setCaption(scrolling_.caption);
        scrolling_.label = nullptr;
    }
    labelRun_.setEnabled(false);
    devTimer_.setEnabled(true);
}

void TForm1::LabelRunTimer() {
    if (!scrolling_.label) return;
    if (++scrolling_.steps > 65535) scrolling_.steps = 2;
    scrolling_.label->setCaption(
        keys::scrollCaption(scrolling_.label->caption(), scrolling_.steps == 1));
}

}  // namespace app
