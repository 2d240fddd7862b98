#include "app/name_dialog.h"

#include "app/main_form.h"

namespace app {

TForm3::TForm3(TForm1& main, ui::Host& host)
    : DialogForm("TForm3", main, host, "lbl_MacroName", "Edt_MacroName") {
    edit_.setMaxLength(kMaxNameLength);
    edit_.onKeyDown = [this](ui::Control&, int& key, ui::KeyState) {
        // The keys every dialog takes: Enter confirms, Escape closes.
        if (key == kEnterKey) {
            key = 0;
            IB_ConfirmClick();
        } else if (key == kEscapeKey) {
            key = 0;
            IB_CloseClick();
        }
    };
}

void TForm3::FormCreate() {
    edit_.setCaption("");
    placeAndShow("Str510", "Str511", "Str512");
}

void TForm3::IB_ConfirmClick() {
    main_.SetMacroName(edit_.caption());
    close();
}

void TForm3::IB_CancelClick() {
    edit_.setCaption("");
    setFocus(&edit_);
}

}  // namespace app
