// The Windows program: wiring only. The Win32 host, the HID backend (Windows HID, or simulated
// with QUORVEX_SIMULATED_MOUSE) and the main window with its wait window and dialogs.
#include <windows.h>

#include "app/combination_dialog.h"
#include "app/main_form.h"
#include "app/name_dialog.h"
#include "app/wait_form.h"
#include "macros/input_capture.h"
#include "select_backend.h"
#include "settings/mouse_settings.h"
#include "win32/win32_host.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // One editor at a time: a second start brings the first forward and ends.
    if (HWND running = FindWindowA(nullptr, app::TForm1::kCaption)) {
        ShowWindow(running, SW_RESTORE);
        SetForegroundWindow(running);
        return 0;
    }
    auto backend = device::makeHidBackend();
    win32ui::Win32Host host(instance);
    host.setApplicationTitle("Gaming Mouse");
    app::TForm1 form(host, *backend);
    form.setInputCapture(macros::makeSystemInputCapture());
    form.setMouseSettingsStore(settings::makeSystemMouseSettingsStore());
    host.setMainForm(form, [&form] { return form.FormCloseQuery(); });
    form.FormCreate();
    app::TFormLoadingUI wait(host);
    wait.FormCreate(form.bounds());
    form.setWaitForm(&wait);
    app::TForm2 combination(form, host);
    app::TForm3 naming(form, host);
    form.openCombinationDialog = [&combination] { combination.FormCreate(); };
    form.openNameDialog = [&naming] { naming.FormCreate(); };
    host.showForm(form);
    return host.run();
}
