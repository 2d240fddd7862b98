#pragma once
// TForm3: the macro name dialog of Rename.
#include "app/dialog_form.h"

namespace app {

class TForm3 : public DialogForm {
  public:
    static constexpr int kMaxNameLength = 14;
    static constexpr int kEnterKey = 0x0D;  // virtual-key codes
    static constexpr int kEscapeKey = 0x1B;

    TForm3(TForm1& main, ui::Host& host);
    void FormCreate();
    void IB_ConfirmClick() override;
    void IB_CancelClick() override;
};

}  // namespace app
