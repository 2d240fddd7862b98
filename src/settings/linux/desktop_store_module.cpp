// The desktop settings module's entry.
#include "settings/linux/desktop_store_module.h"
#include "settings/linux/desktop_store.h"

extern "C" __attribute__((visibility("default"))) settings::MouseSettingsStore*
quorvex_new_desktop_mouse_settings_store() {
    return settings::makeDesktopMouseSettingsStore().release();
}

// The loader calls it through this type.
static_assert(std::is_same_v<decltype(&quorvex_new_desktop_mouse_settings_store),
                             settings::NewDesktopMouseSettingsStore>);
