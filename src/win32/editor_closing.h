#pragma once
// What the editor's main window answers to the host about closing.
#include "app/main_form.h"
#include "win32/win32_host.h"

namespace win32ui {

inline MainWindowClosing closingOf(app::TForm1& form) {
    return {[&form] { return form.FormCloseQuery(); }, [&form] { return form.mayClose(); },
            [&form] { form.FormClose(); },
            [&form] { return form.languageText(app::TForm1::kSessionEndWaitsMessage); }};
}

}  // namespace win32ui
