#include "app/combination_dialog.h"

#include "app/main_form.h"
#include "image/hex_text.h"
#include "keys/key_tables.h"

namespace app {
namespace {

const char* const kBoxes[] = {"CB_Ctrl", "CB_Shift", "CB_Alt", "CB_Win"};
const char* const kModifierNames[] = {"Ctrl", "Shift", "Alt", "Win"};

}  // namespace

TForm2::TForm2(TForm1& main, ui::Host& host)
    : DialogForm("TForm2", main, host, "lbl_Assembly", "Edt_Assembly") {
    edit_.setReadOnly(true);
    edit_.onKeyDown = [this](ui::Control&, int& key, ui::KeyState state) {
        Edt_AssemblyKeyDown(key, state);
        key = 0;  // the field shows the combination, never the typed character
    };
    edit_.onKeyPress = [](ui::Control&, char32_t& ch) { ch = 0; };
    const int xs[] = {56, 110, 176, 232};
    for (int i = 0; i < 4; ++i) {
        ui::Control& box = add(ui::ControlKind::CheckBox, kBoxes[i]);
        box.setBounds({xs[i], 96, 54, 19});
        box.setCaption(kModifierNames[i]);  // fixed texts, not from the language table
        box.setFontColor({255, 255, 255});
        box.onClick = [this, i](ui::Control&) { CheckBoxClick(i); };
    }
}

void TForm2::reset() {
    // Every opening starts empty: no ticks left from the last one.
    for (const char* box : kBoxes) at(box).setChecked(false);
    edit_.setCaption("");
    keyCount_ = 0;
    firstKey_ = secondKey_ = 0;
    keyPart_.clear();
}

void TForm2::FormCreate() {
    reset();
    placeAndShow("Str500", "Str501", "Str502");
}

std::string TForm2::modifierPart() const {
    std::string part;
    for (int i = 0; i < 4; ++i) {
        if (!at(kBoxes[i]).checked()) continue;
        if (!part.empty()) part += "+";
        part += kModifierNames[i];
    }
    return part;
}

std::uint8_t TForm2::modifierByte() const {
    std::uint8_t byte = 0;
    for (int i = 0; i < 4; ++i) {
        if (at(kBoxes[i]).checked()) byte = static_cast<std::uint8_t>(byte | (1 << i));
    }
    return byte;
}

namespace {

// Shift, Ctrl, Alt (AltGr is Right Alt) and Windows, generic or either side.
bool isModifierKey(int virtualKey) {
    return (virtualKey >= 0x10 && virtualKey <= 0x12) || virtualKey == 0x5B || virtualKey == 0x5C ||
           (virtualKey >= 0xA0 && virtualKey <= 0xA5);
}

}  // namespace

void TForm2::Edt_AssemblyKeyDown(int virtualKey, ui::KeyState state) {
    // A key without a position in the key table (a keyboard's own media keys, the Japanese and
    // Brazilian extra keys) would give a wrong code: it changes nothing at all.
    if (keys::VirtualKeyToKeyIndex(virtualKey) == keys::kh_None) return;
    if (keyCount_ == 2) {
        keyPart_.clear();
        edit_.setCaption(modifierPart());
        keyCount_ = 0;
        firstKey_ = secondKey_ = 0;
    }
    // Modifiers come from the check boxes only.
    if (isModifierKey(virtualKey) || state.shift || state.ctrl || state.alt) return;
    const auto index = keys::VirtualKeyToKeyIndex(virtualKey);
    const std::string name = keys::KeyIndexToKeyName(index);
    if (keyCount_ == 0) {
        keyPart_ = name;
        firstKey_ = keys::KeyIndexToKeyUsage(index);
    } else {
        keyPart_ += "+" + name;
        secondKey_ = keys::KeyIndexToKeyUsage(index);
    }
    edit_.setCaption(edit_.caption().empty() ? name : edit_.caption() + "+" + name);
    ++keyCount_;
}

void TForm2::CheckBoxClick(int modifier) {
    const std::string name = kModifierNames[modifier];
    if (at(kBoxes[modifier]).checked()) {
        const std::string part = modifierPart();
        edit_.setCaption(keyPart_.empty() ? part : part + "+" + keyPart_);
    } else if (!edit_.caption().empty()) {
        std::string text = edit_.caption();
        if (text.starts_with(name)) {
            if (text == name) {
                text.clear();
            } else if (const auto at = text.find(name + "+"); at != std::string::npos) {
                text.erase(at, name.size() + 1);
            }
        } else if (const auto at = text.find("+" + name); at != std::string::npos) {
            text.erase(at, name.size() + 1);
        }
        edit_.setCaption(text);
    }
    setFocus(&edit_);
}

std::string TForm2::codeText() const {
    const std::uint8_t bytes[] = {0x02, modifierByte(), firstKey_, secondKey_};
    return image::toHexText(bytes);
}

void TForm2::IB_ConfirmClick() {
    auto& pending = main_.pendingCombination();
    pending.name = edit_.caption();
    pending.code = codeText();
    pending.ready = true;
    main_.ApplyAssemblyKey();
    close();
}

void TForm2::IB_CancelClick() {
    reset();
    // The result is cleared; the button it goes to stays.
    auto& pending = main_.pendingCombination();
    pending.name.clear();
    pending.code.clear();
    pending.ready = false;
    setFocus(&edit_);
}

}  // namespace app
