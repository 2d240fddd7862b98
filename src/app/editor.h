#pragma once
// The editor's windows, made and wired in the order start-up needs: the main window, then the
// wait window, then the two dialogs. Each platform's entry makes its host and backend and
// hands them over.
#include <functional>

#include "app/combination_dialog.h"
#include "app/main_form.h"
#include "app/name_dialog.h"
#include "app/wait_form.h"

namespace app {

class Editor {
  public:
    Editor(ui::Host& host, device::HidBackend& backend);

    // Runs start-up and shows the main window. `registerMain` tells the host which window is
    // the main one (and how it asks to close) before that window is created.
    void start(const std::function<void(TForm1&)>& registerMain);
    TForm1& form() { return form_; }

  private:
    ui::Host& host_;
    TForm1 form_;
    TFormLoadingUI wait_;
    TForm2 combination_;
    TForm3 naming_;
};

}  // namespace app
