#pragma once
// The two small dialogs share their shape: a background picture with a title, one edit field,
// two buttons that light up under the pointer, and a close area at the top right.
#include <string>

#include "ui/form.h"
#include "ui/host.h"

namespace app {

class TForm1;

class DialogForm : public ui::Form {
  public:
    static constexpr int kWidth = 354;
    static constexpr int kHeight = 179;

    DialogForm(std::string name, TForm1& main, ui::Host& host, const char* titleLabel,
               const char* edit);
    // Closes without a result (the close area, or the main window taking the dialog away).
    void IB_CloseClick() {
        if (visible()) close();
    }

  protected:
    // Centred over the main window, 40 pixels lower; texts from the current language table.
    void placeAndShow(const char* titleKey, const char* confirmKey, const char* cancelKey);
    void close();
    virtual void IB_ConfirmClick() = 0;
    virtual void IB_CancelClick() = 0;

    TForm1& main_;
    ui::Host& host_;
    ui::Control& title_;
    ui::Control& edit_;
};

}  // namespace app
