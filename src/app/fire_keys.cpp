// The four fire-key modes of the Advanced Page: their edits, the fire-mode selection, and
// their share of the image.
#include "app/main_form.h"
#include "image/key_code_texts.h"
#include "image/sections.h"
#include "keys/key_code.h"
#include "keys/key_naming.h"

namespace app {
namespace {

std::size_t entryOffset(int mode) {
    return image::kFireKey.offset + 4 * static_cast<std::size_t>(mode - 1);
}

std::string repeatEdit(int mode) {
    return "Edt_Repeat" + std::to_string(mode);
}
std::string delayEdit(int mode) {
    return "Edt_DelayTime" + std::to_string(mode);
}

}  // namespace

void TForm1::setupFireKeys() {
    const auto digitsOnly = [this](ui::Control&, char32_t& ch) { Edt_Repeat1KeyPress(ch); };
    for (int n = 1; n <= 4; ++n) {
        ui::Control& repeat = control("Edt_Repeat" + std::to_string(n));
        ui::Control& delay = control("Edt_DelayTime" + std::to_string(n));
        repeat.onKeyPress = digitsOnly;
        delay.onKeyPress = digitsOnly;
        repeat.onChange = keepDigits;
        delay.onChange = keepDigits;
        repeat.onExit = [this](ui::Control& e) { RepeatValue_OnClick(e); };
        delay.onExit = [this](ui::Control& e) { DelayTimeValue_OnClick(e); };
        control("lbl_FKMode" + std::to_string(n)).onClick = [this, n](ui::Control&) {
            FireKeyModeCheck(n);
        };
    }
    for (const char* colour :
         {"Edt_Mode1R", "Edt_Mode1G", "Edt_Mode1B", "Edt_Mode2R", "Edt_Mode2G", "Edt_Mode2B"}) {
        control(colour).onKeyPress = digitsOnly;
    }
}

void TForm1::Edt_Repeat1KeyPress(char32_t& ch) {
    if ((ch < U'0' || ch > U'9') && ch != U'\b') ch = 0;
}

void TForm1::keepDigits(ui::Control& edit) {
    // Pasted or dropped text arrives without key presses: only its digits stay.
    std::string digits;
    for (char c : edit.caption())
        if (c >= '0' && c <= '9') digits += c;
    if (digits != edit.caption()) edit.setCaption(digits);
}

void TForm1::RepeatValue_OnClick(ui::Control& edit) {
    edit.setCaption(keys::correctRepeatText(edit.caption()));
}

void TForm1::DelayTimeValue_OnClick(ui::Control& edit) {
    edit.setCaption(keys::correctDelayText(edit.caption()));
}

void TForm1::FireKeyModeCheck(int mode) {
    if (fireModes_.toggle(mode)) showFireModeSelection();
}

void TForm1::showFireModeSelection() {
    for (int n = 1; n <= 4; ++n) {
        control("lbl_FKMode" + std::to_string(n))
            .setFontColor(fireModes_.selected(n) ? kept_.dpiSelected : kept_.dpiNotSelected);
    }
}

void TForm1::RefreshFireKeyMode() {
    keys::takeFireModes(image_, fireModes_);
    showFireModeSelection();
}

void TForm1::fireKeysToEdits() {
    for (int n = 1; n <= 4; ++n) {
        const keys::FireKeyMode mode = keys::readFireKeyMode(image_.sectionBuf, n);
        const auto i = static_cast<std::size_t>(n - 1);
        fireKeyShown_[i] = std::to_string(mode.repeat);
        fireKeyShown_[i + 4] = std::to_string(mode.delay);
        control(repeatEdit(n)).setCaption(fireKeyShown_[i]);
        control(delayEdit(n)).setCaption(fireKeyShown_[i + 4]);
    }
}

std::string TForm1::fireKeyRepeatText(int mode) const {
    return keys::repeatTextToWrite(control(repeatEdit(mode)).caption(),
                                   fireKeyShown_[static_cast<std::size_t>(mode - 1)]);
}

std::string TForm1::fireKeyDelayText(int mode) const {
    return keys::delayTextToWrite(control(delayEdit(mode)).caption(),
                                  fireKeyShown_[static_cast<std::size_t>(mode + 3)]);
}

void TForm1::FireKeyModeToDataBuf() {
    for (int n = 1; n <= 4; ++n) {
        // A changed text still in its edit (Apply or a picture takes no focus) is corrected
        // as leaving the edit would correct it, so the edit shows what is written.
        control(repeatEdit(n)).setCaption(fireKeyRepeatText(n));
        control(delayEdit(n)).setCaption(fireKeyDelayText(n));
        // The same bytes as a fire-key function picked from the menu now.
        const auto entry = keys::keyCodeFromText(
            keys::fireKeyCodeText(fireKeySettings(), n).value_or(std::string()));
        if (!entry) continue;
        std::copy(entry->begin(), entry->end(),
                  image_.sectionBuf.begin() + static_cast<std::ptrdiff_t>(entryOffset(n)));
    }
}

void TForm1::FireKeyAndFireKeyModeToDataBuf() {
    keys::writeFireModes(image_, fireModes_);
}

}  // namespace app
