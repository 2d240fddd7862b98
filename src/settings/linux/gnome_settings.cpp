#include "settings/linux/gnome_settings.h"

#include <gio/gio.h>

namespace settings {
namespace {

constexpr const char* kSchema = "org.gnome.desktop.peripherals.mouse";

GSettings* gsettings(void* p) {
    return static_cast<GSettings*>(p);
}

}  // namespace

std::unique_ptr<GnomeMouseSettings> GnomeMouseSettings::open() {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source) return nullptr;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, kSchema, TRUE);
    if (!schema) return nullptr;
    const bool complete = g_settings_schema_has_key(schema, "speed") &&
                          g_settings_schema_has_key(schema, "double-click");
    g_settings_schema_unref(schema);
    if (!complete) return nullptr;
    return std::unique_ptr<GnomeMouseSettings>(new GnomeMouseSettings(g_settings_new(kSchema)));
}

GnomeMouseSettings::~GnomeMouseSettings() {
    g_object_unref(gsettings(settings_));
}

bool GnomeMouseSettings::holds(DesktopSetting setting) const {
    return setting != DesktopSetting::WheelScrollLines;
}

std::optional<int> GnomeMouseSettings::read(DesktopSetting setting) {
    switch (setting) {
        case DesktopSetting::PointerSpeed:
            return sensitivityOfSpeed(g_settings_get_double(gsettings(settings_), "speed"));
        case DesktopSetting::DoubleClickTime: {
            const int ms = g_settings_get_int(gsettings(settings_), "double-click");
            if (ms <= 0) return std::nullopt;
            return ms;
        }
        case DesktopSetting::WheelScrollLines:
            break;
    }
    return std::nullopt;
}

bool GnomeMouseSettings::write(DesktopSetting setting, int value) {
    GSettings* g = gsettings(settings_);
    bool taken = false;
    // A key the administrator locked refuses the write (the setter says so).
    if (setting == DesktopSetting::PointerSpeed) {
        taken = g_settings_set_double(g, "speed", speedOfSensitivity(value));
    } else if (setting == DesktopSetting::DoubleClickTime) {
        taken = g_settings_set_int(g, "double-click", value);
    }
    // The desktop picks the change up from the store; make sure it is there before we go on.
    g_settings_sync();
    return taken;
}

}  // namespace settings
