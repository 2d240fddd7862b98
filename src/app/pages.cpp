// The four pages, the six navigation buttons, the locks and the device-state pages.
#include "app/main_form.h"

#include "keys/key_code.h"
#include "skin/pictures.h"

namespace app {
namespace {

const char* const kLockedEdits[] = {"Edt_Repeat1",    "Edt_Repeat2",    "Edt_Repeat3",
                                    "Edt_Repeat4",    "Edt_DelayTime1", "Edt_DelayTime2",
                                    "Edt_DelayTime3", "Edt_DelayTime4", "Edt_Mode1R",
                                    "Edt_Mode1G",     "Edt_Mode1B"};

std::vector<std::string> pageControls(int page) {
    std::vector<std::string> names;
    const auto add = [&](const std::string& n) { names.push_back(n); };
    const auto numbered = [&](const std::string& stem, int count) {
        for (int i = 1; i <= count; ++i) add(stem + std::to_string(i));
    };
    switch (page) {
        case 1:
            add("Img_P1");
            break;
        case 2:
            add("Img_P2");
            for (const char* s : {"Spd", "DbSpd", "ScrSpd"}) {
                numbered(std::string("lbl_") + s, 10);
                numbered(std::string("Img_") + s, 10);
            }
            numbered("lbl_DPI", 8);
            numbered("Img_DPI", 8);
            add("lbl_DPIHint");
            for (const char* n : {"lbl_Rep1", "lbl_Rep2", "Img_Rep1", "Img_Rep2"}) add(n);
            numbered("Edt_Repeat", 4);
            numbered("Edt_DelayTime", 4);
            numbered("lbl_FKMode", 4);
            break;
        case 3:
            add("Img_P3");
            add("Img_LightRing");
            for (const char* s : {"Off", "Raise", "On", "Fall"}) {
                numbered(std::string("lbl_") + s, 10);
                numbered(std::string("Img_") + s, 10);
            }
            for (const char* n : {"Random", "Colorful", "Custom", "LEDColMode1", "LEDColMode2"}) {
                add(std::string("lbl_") + n);
                add(std::string("Img_") + n);
            }
            for (const char* n : {"Edt_Mode1R", "Edt_Mode1G", "Edt_Mode1B", "Edt_Mode2R",
                                  "Edt_Mode2G", "Edt_Mode2B"})
                add(n);
            break;
        case 4:
            add("Img_P4");
            add("LB_MacroName");
            add("LB_macro");
            for (const char* b : {"New", "Start", "Clear", "ExportOne", "Export", "ImportOne",
                                  "Import", "Del", "Insert"}) {
                add(std::string("Btn_") + b);
                add(std::string("Img_") + b);
            }
            break;
    }
    return names;
}

}  // namespace

void TForm1::showPage(int page) {
    if (page == 1)
        DisplayP1_OnClick();
    else
        HideP1_OnClick();
    if (page == 2)
        DisplayP2_OnClick();
    else
        HideP2_OnClick();
    if (page == 3)
        DisplayP3_OnClick();
    else
        HideP3_OnClick();
    if (page == 4)
        DisplayP4_OnClick();
    else
        HideP4_OnClick();
}

void TForm1::DisplayP1_OnClick() {
    control("Img_P1").setVisible(true);
    control("lbl_KeyHint").setVisible(pageSelector() != 3);  // Reset Control is read-only
    // A key the layout disables stays hidden.
    for (int n = 1; n <= 12; ++n) {
        const std::string s = std::to_string(n);
        control("Key" + s).setVisible(kept_.keyEnabled[n - 1]);
        control("Img_Key" + s).setVisible(kept_.keyEnabled[n - 1]);
    }
}

void TForm1::HideP1_OnClick() {
    control("Img_P1").setVisible(false);
    control("lbl_KeyHint").setVisible(false);
    for (int n = 1; n <= 12; ++n) {
        control("Key" + std::to_string(n)).setVisible(false);
        control("Img_Key" + std::to_string(n)).setVisible(false);
    }
}

void TForm1::DisplayP2_OnClick() {
    for (const auto& n : pageControls(2)) control(n).setVisible(true);
}
void TForm1::HideP2_OnClick() {
    for (const auto& n : pageControls(2)) control(n).setVisible(false);
}
void TForm1::DisplayP3_OnClick() {
    for (const auto& n : pageControls(3)) control(n).setVisible(true);
    control("lbl_NoLight").setVisible(!lightAvailable_);
}
void TForm1::HideP3_OnClick() {
    for (const auto& n : pageControls(3)) control(n).setVisible(false);
    control("lbl_NoLight").setVisible(false);
}

void TForm1::DisplayP4_OnClick() {
    for (const auto& n : pageControls(4)) control(n).setVisible(true);
    control("Gb_Delay").setVisible(!insertMode_);
    control("Gb_Insert").setVisible(insertMode_);
    control("Img_InsertBase").setVisible(insertMode_);
    control("lbl_WindowRecording").setVisible(windowCapture_);
    control("lbl_MacroReading").setVisible(macrosReading_);
}

void TForm1::HideP4_OnClick() {
    for (const auto& n : pageControls(4)) control(n).setVisible(false);
    for (const char* n :
         {"Gb_Delay", "Gb_Insert", "Img_InsertBase", "lbl_WindowRecording", "lbl_MacroReading"})
        control(n).setVisible(false);
}

void TForm1::LockPage() {
    control("Disable").setVisible(true);
    control("Gb_Delay").setEnabled(false);
    control("Gb_Insert").setEnabled(false);
    for (const char* e : kLockedEdits) control(e).setReadOnly(true);
}

void TForm1::UnlockPage() {
    control("Disable").setVisible(false);
    control("Gb_Delay").setEnabled(!recorder_.recording());  // no option changes mid-recording
    control("Gb_Insert").setEnabled(true);
    for (const char* e : kLockedEdits) control(e).setReadOnly(false);
}

void TForm1::ButtonTypeB_1IconInit() {
    control("lbl_IDError").setVisible(false);
    control("lbl_TypeError").setVisible(false);
    errorPage_ = false;
    for (int s = 1; s <= 6; ++s) skin::showPicture(control(skin::navigationPicture(s)), "SetS_01");
}

void TForm1::NavigationClick(int selector) {
    if (!link_.deviceOpen()) {
        ShowMessage("Str022");
        return;
    }
    if (errorPage_) return;
    // The Alternate Key page needs a keyboard-switch key in profile 1, the Reset Control page a
    // keyboard-reset key in profile 2. Told by the code, not the name: a macro may carry the
    // name of either.
    const auto profileHas = [this](int profile, std::string_view code) {
        for (const std::string& text : image_.keyCodeTexts[profile - 1]) {
            if (text == code) return true;
        }
        return false;
    };
    if (selector == 2 && !profileHas(1, keys::kKeyboardSwitchCode)) {
        ShowMessage("Str020");
        return;
    }
    if (selector == 3 && !profileHas(2, keys::kKeyboardResetCode)) {
        ShowMessage("Str021");
        return;
    }
    HideAllMenu();
    ButtonTypeB_1IconInit();
    setPageSelector(selector);
    const int page = selector <= 3 ? 1 : selector - 2;
    showPage(page);
    if (selector == 3) {
        LockPage();
    } else {
        UnlockPage();
    }
    if (selector <= 3) refreshKeyLabels(selector);
    skin::showPicture(control(skin::navigationPicture(selector)), "SetS_02");
    const std::string prefix = "L" + std::to_string(skinSet_) + "_Back";
    skin::showPicture(control("Img_P" + std::to_string(page)), prefix + std::to_string(page));
}

void TForm1::RefreshAPPage() {
    if (errorPage_) {
        showPage(0);
        return;
    }
    const int selector = pageSelector();
    showPage(selector <= 3 ? 1 : selector - 2);
}

void TForm1::RefreshErrorAP() {
    link_.reset();
    abandonCombination();
    errorPage_ = true;
    showPage(0);
    for (int s = 1; s <= 6; ++s) skin::showPicture(control(skin::navigationPicture(s)), "SetS_01");
}

void TForm1::ShowNoDevicePage() {
    HideAllMenu();
    control("lbl_TypeError").setVisible(false);
    control("lbl_IDError").setVisible(false);
    control("lbl_NoDev").setVisible(true);
    control("lbl_CheckDev").setVisible(true);
    host_.processMessages();
    const bool hadMacros = link_.deviceKind() == device::DeviceKind::Macro;
    endLabelScrolling();
    // A recording ends with its mouse, compiled into its slot as Stop would.
    if (recorder_.recording()) {
        if (recorder_.inserting()) {
            Btn_InsertStartClick();
        } else {
            stopRecording();
        }
    }
    RefreshErrorAP();
    if (hadMacros) {
        control("LB_MacroName").clearItems();
        control("LB_Name").clearItems();
        control("LB_macro").clearItems();
    }
    link_.clearDeviceKind();
}

void TForm1::ShowDevicePages() {
    const device::DeviceKind kind = link_.deviceKind();
    if (kind != device::DeviceKind::None) {
        const bool macro = kind == device::DeviceKind::Macro;
        control("Btn_Macro").setVisible(macro);
        control("Img_Macro").setVisible(macro);
        control("Key_Macro").setVisible(macro);
        ui::Control& menu = control("Pnl_Main");
        menu.setSize(menu.bounds().w, macro ? 146 : 122);
    }
    DisplayP1_OnClick();
    UnlockPage();
    errorPage_ = false;
    // The page that was up stays up; a Macro Page the mouse has none of gives way to page 1.
    int selector = pageSelector();
    if (selector < 1 || (selector == 6 && kind != device::DeviceKind::Macro)) selector = 1;
    NavigationClick(selector);
    host_.processMessages();
}

}  // namespace app
