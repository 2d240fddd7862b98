#include "settings/linux/kde_settings.h"

#include <gio/gio.h>

#include "settings/linux/ini_file.h"

namespace settings {
namespace {

const char* keyOf(DesktopSetting setting) {
    return setting == DesktopSetting::DoubleClickTime ? "DoubleClickInterval" : "WheelScrollLines";
}

// Plasma's own values when kdeglobals says nothing.
int plasmaDefault(DesktopSetting setting) {
    return setting == DesktopSetting::DoubleClickTime ? 400 : 3;
}

// KGlobalSettings' "settings changed" with its mouse category (3).
void notifyMouseSettingsChanged() {
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus) return;
    g_dbus_connection_emit_signal(bus, nullptr, "/KGlobalSettings", "org.kde.KGlobalSettings",
                                  "notifyChange", g_variant_new("(ii)", 3, 0), nullptr);
    g_dbus_connection_flush_sync(bus, nullptr, nullptr);
    g_object_unref(bus);
}

}  // namespace

bool KdeGlobalSettings::holds(DesktopSetting setting) const {
    return setting != DesktopSetting::PointerSpeed;
}

std::optional<int> KdeGlobalSettings::read(DesktopSetting setting) {
    const IniFile file(path_);
    if (!file.value("KDE", keyOf(setting))) return plasmaDefault(setting);
    return setting == DesktopSetting::DoubleClickTime ? file.number("KDE", keyOf(setting), 1, 5000)
                                                      : file.number("KDE", keyOf(setting), 1, 100);
}

bool KdeGlobalSettings::write(DesktopSetting setting, int value) {
    IniFile file(path_);
    file.set("KDE", keyOf(setting), std::to_string(value));
    if (!file.save()) return false;
    notifyMouseSettingsChanged();
    return true;
}

}  // namespace settings
