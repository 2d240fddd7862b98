#pragma once
// TForm2: the combination-key dialog. Up to four modifiers by check box and up to two keys
// typed into the edit field make a combination function for the current button.
#include <cstdint>

#include "app/dialog_form.h"

namespace app {

class TForm2 : public DialogForm {
  public:
    TForm2(TForm1& main, ui::Host& host);

    // Opens the dialog from its empty state.
    void FormCreate();
    // A key pressed in the edit field (the virtual-key code of its position on a US keyboard,
    // and the modifier state).
    void Edt_AssemblyKeyDown(int virtualKey, ui::KeyState state);
    void CheckBoxClick(int modifier);  // 0 Ctrl, 1 Shift, 2 Alt, 3 Win
    void IB_ConfirmClick() override;
    void IB_CancelClick() override;

    // The code the dialog would give now ("02" + modifiers + keys).
    std::string codeText() const;

  private:
    void reset();
    std::string modifierPart() const;
    std::uint8_t modifierByte() const;

    int keyCount_ = 0;
    std::uint8_t firstKey_ = 0, secondKey_ = 0;
    std::string keyPart_;
};

}  // namespace app
