// The insert panel of the macro page: a delay or a short recording in front of or behind the
// selected event.
#include <algorithm>

#include "app/main_form.h"
#include "skin/pictures.h"

namespace app {
namespace {

const char* const kDisabledWhileOpen[] = {
    "LB_MacroName", "Btn_New",       "Btn_Start",  "Btn_Clear", "Btn_ExportOne",
    "Btn_Export",   "Btn_ImportOne", "Btn_Import", "Btn_Del",   "Btn_Insert"};
const char* const kOptionLabels[] = {"IB_InsertRecDelay", "IB_InsertDelayTime", "IB_InsertNoDelay"};
const char* const kOptionLamps[] = {"LED_InsertRecDelay", "LED_InsertDelayTime",
                                    "LED_InsertNoDelay"};

}  // namespace

void TForm1::setupInsertPanel() {
    control("Btn_Insert").onClick = [this](ui::Control&) { Btn_InsertClick(); };
    control("CB_Insert").onChange = [this](ui::Control&) { CB_InsertChange(); };
    for (int i = 0; i < 3; ++i)
        control(kOptionLabels[i]).onClick = [this, i](ui::Control&) { InsertDelayOption(i); };
    ui::Control& delay = control("Edt_InsertDelay");
    delay.setCaption("50");
    delay.onKeyPress = [this](ui::Control&, char32_t& ch) { Edt_Repeat1KeyPress(ch); };
    delay.onChange = [this](ui::Control&) { Edt_InsertDelayChange(); };
    control("Btn_InsertStart").onClick = [this](ui::Control&) { Btn_InsertStartClick(); };
    control("Btn_OK").onClick = [this](ui::Control&) { Btn_OKClick(); };
    control("Btn_Cancel").onClick = [this](ui::Control&) { Btn_CancelClick(); };
    control("Gb_Insert").setVisible(false);
    control("Img_InsertBase").setVisible(false);
}

int TForm1::countLines(char kind) const {
    int n = 0;
    const auto& lines = eventLines();
    for (std::size_t i = 1; i < lines.size(); ++i) n += !lines[i].empty() && lines[i][0] == kind;
    return n;
}

void TForm1::Btn_InsertClick() {
    skin::showPressed(*this, "Btn_Insert");
    for (const char* name : kDisabledWhileOpen) control(name).setEnabled(false);
    control("lbl_s_A").setFontColor(kUnavailableText);
    savedTopItem_ = control("LB_macro").topIndex();
    savedSelectedItem_ = control("LB_macro").itemIndex();
    insertMode_ = true;
    control("Gb_Delay").setVisible(false);
    control("Img_InsertBase").setVisible(true);
    control("Gb_Insert").setVisible(true);
    control("CB_Insert").setItemIndex(0);
    CB_InsertChange();
}

void TForm1::CB_InsertChange() {
    const int choice = control("CB_Insert").itemIndex();
    const bool delay = choice <= 1;
    skin::showPicture(control("Img_InsertBase"), delay ? "InsertDelayBase" : "InsertKeyBase");
    control("lbl_Delay").setVisible(delay);
    control("Btn_OK").setCaption(languageText(delay ? "Str420" : "Str421"));
    for (const char* l : kOptionLabels) control(l).setVisible(!delay);
    for (const char* lamp : kOptionLamps) control(lamp).setVisible(!delay);
    control("Btn_InsertStart").setVisible(!delay);
    control("Img_InsertStart").setVisible(!delay);
    if (delay) {
        control("Edt_InsertDelay").setReadOnly(false);
        control("Edt_InsertDelay").setFontColor(kept_.macroListText);
        control("lbl_s_A").setFontColor(kept_.macroText);
    } else {
        InsertDelayOption(0);
    }
}

void TForm1::InsertDelayOption(int option) {
    control("gbInsertDelayMode").setItemIndex(option);
    // Every option shows its mark, filled for the chosen one, as on the page's own options.
    for (int i = 0; i < 3; ++i)
        skin::showPicture(control(kOptionLamps[i]), i == option ? "RdS_E" : "RdS_D");
    const bool editable = option == 1;
    control("Edt_InsertDelay").setReadOnly(!editable);
    control("Edt_InsertDelay").setFontColor(editable ? kept_.macroListText : kUnavailableText);
    control("lbl_s_A").setFontColor(editable ? kept_.macroText : kUnavailableText);
}

void TForm1::Edt_InsertDelayChange() {
    ui::Control& e = control("Edt_InsertDelay");
    keepDigits(e);
    long v = 0;
    for (char ch : e.caption()) v = std::min(v * 10 + (ch - '0'), 1000000L);
    if (v > 65530) e.setCaption("65530");
    if (v < 1) e.setCaption("1");
}

void TForm1::Btn_InsertStartClick() {
    ui::Control& start = control("Btn_InsertStart");
    const std::vector<const char*> options{"IB_InsertRecDelay", "IB_InsertDelayTime",
                                           "IB_InsertNoDelay", "Edt_InsertDelay", "lbl_s_A"};
    if (start.caption() == languageText("Str400")) {
        const int selected = control("LB_macro").itemIndex();
        const int presses = countLines('1'), releases = countLines('2');
        if (selected < 0 || presses >= macros::Recorder::kLimit ||
            releases >= macros::Recorder::kLimit)
            return;
        skin::showPressed(*this, "Btn_InsertStart");
        if (!startCapture()) return;
        recorder_.startInsert(selected, control("CB_Insert").itemIndex() == 2, presses, releases);
        keyboardHook_ = {};
        start.setCaption(languageText("Str401"));
        control("CB_Insert").setEnabled(false);
        control("GB_Dis").setVisible(true);
        for (const char* o : options) control(o).setFontColor(kUnavailableText);
        control("Btn_OK").setEnabled(false);
        control("Btn_Cancel").setEnabled(false);
        return;
    }
    skin::showPressed(*this, "Btn_InsertStart");
    stopCapture();
    recorder_.stop();
    start.setCaption(languageText("Str400"));
    control("CB_Insert").setEnabled(true);
    control("GB_Dis").setVisible(false);
    for (const char* o : options) control(o).setFontColor(kept_.macroText);
    control("Edt_InsertDelay").setFontColor(kept_.macroListText);
    control("Btn_OK").setEnabled(true);
    control("Btn_Cancel").setEnabled(true);
}

void TForm1::Btn_OKClick() {
    const int choice = control("CB_Insert").itemIndex();
    if (choice <= 1) {
        const int s = control("LB_macro").itemIndex();
        std::vector<std::string> lines = eventLines();
        if (s < 0 || static_cast<std::size_t>(s) + 1 >= lines.size()) return;
        const std::size_t at = static_cast<std::size_t>(s) + (choice == 0 ? 1 : 2);
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                     "0 " + control("Edt_InsertDelay").caption());
        control("mmo_macro").setItems(std::move(lines));
        showEventList();
        MemoToMacro();
        control("LB_macro").setItemIndex(choice == 0 ? s : s + 1);
    } else {
        MemoToMacro();
    }
    skin::showPressed(*this, "Btn_OK");
    CloseInsertPanel();
    CountMacroKeys();
}

void TForm1::CountMacroKeys() {
    recorder_.setCounts(countLines('1'), countLines('2'));
    showEventList();
}

void TForm1::Btn_CancelClick() {
    skin::showPressed(*this, "Btn_Cancel");
    CloseInsertPanel();
    // The slot's bytes hold the macro as it was before the panel opened.
    control("LB_macro").clearItems();
    control("mmo_macro").clearItems();
    control("mmo_wrscript").clearItems();
    MacroToMemo();
    control("LB_macro").setTopIndex(savedTopItem_);
    control("LB_macro").setItemIndex(savedSelectedItem_);
}

void TForm1::CloseInsertPanel() {
    recorder_.clearInsertCounts();
    control("Gb_Insert").setVisible(false);
    control("Img_InsertBase").setVisible(false);
    insertMode_ = false;
    for (const char* name : kDisabledWhileOpen) control(name).setEnabled(true);
    // Insert looked pressed while its panel was open; the pointer is elsewhere now.
    skin::showPicture(control("Img_Insert"), "MacroS_01");
    control("Gb_Delay").setVisible(true);
}

}  // namespace app
