#pragma once
// The editor reaches the desktop's mouse settings through a module it loads once its window is
// up: GIO and the libraries behind it then cost the first paint nothing.
namespace settings {

class MouseSettingsStore;

// The file name of the module and the one function it exports (C linkage, so dlsym finds it by
// this name). The function returns a new store, which the caller owns.
inline constexpr const char* kDesktopSettingsModule = "quorvex-desktop-settings.so";
inline constexpr const char* kDesktopSettingsEntry = "quorvex_new_desktop_mouse_settings_store";
using NewDesktopMouseSettingsStore = MouseSettingsStore* (*)();

}  // namespace settings
