#include "app/editor.h"

#include "macros/input_capture.h"
#include "settings/mouse_settings.h"

namespace app {

Editor::Editor(ui::Host& host, device::HidBackend& backend)
    : host_(host),
      form_(host, backend),
      wait_(host),
      combination_(form_, host),
      naming_(form_, host) {}

void Editor::start(const std::function<void(TForm1&)>& registerMain) {
    form_.setInputCapture(macros::makeSystemInputCapture());
    registerMain(form_);
    form_.FormCreate();
    // The wait window is placed from the main window, so it comes after the main window's start.
    wait_.FormCreate(form_.bounds());
    form_.setWaitForm(&wait_);
    form_.openCombinationDialog = [this] { combination_.FormCreate(); };
    form_.closeCombinationDialog = [this] { combination_.IB_CloseClick(); };
    form_.openNameDialog = [this] { naming_.FormCreate(); };
    host_.showForm(form_);
    // The desktop's mouse settings show on the Advanced Page only: asked for once the window is
    // up (the desktop's settings service can take a while to answer).
    host_.afterFirstPaint([this] {
        form_.setMouseSettingsStore(settings::makeSystemMouseSettingsStore());
        form_.RefreshMouseSystemParameters();
    });
}

}  // namespace app
