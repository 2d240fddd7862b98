// The Windows program: wiring only. The Win32 host, the HID backend (Windows HID, or simulated
// with QUORVEX_SIMULATED_MOUSE) and the main window with its wait window and dialogs.
#include <windows.h>

#include "app/editor.h"
#include "keys/windows/win_key_namer.h"
#include "select_backend.h"
#include "win32/editor_closing.h"
#include "win32/win32_host.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // One editor at a time: a second start brings the first forward and ends.
    if (HWND running = FindWindowA(nullptr, app::TForm1::kCaption)) {
        ShowWindow(running, SW_RESTORE);
        SetForegroundWindow(running);
        return 0;
    }
    auto backend = device::makeHidBackend();
    // Keys are named as the user's layout types them.
    keys::setKeyNamer(keys::makeWindowsKeyNamer());
    win32ui::Win32Host host(instance);
    host.setApplicationTitle("Gaming Mouse");
    app::Editor editor(host, *backend);
    editor.start([&host](app::TForm1& form) { host.setMainForm(form, win32ui::closingOf(form)); });
    return host.run();
}
