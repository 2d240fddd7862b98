#include "settings/linux/xfce_settings.h"

#include <gio/gio.h>

#include <algorithm>

namespace settings {
namespace {

constexpr const char* kService = "org.xfce.Xfconf";
constexpr const char* kPath = "/org/xfce/Xfconf";
constexpr const char* kInterface = "org.xfce.Xfconf";
constexpr const char* kChannel = "xsettings";
constexpr const char* kProperty = "/Net/DoubleClickTime";
// Long enough for the daemon to be started on the first call.
constexpr int kTimeoutMs = 5000;

GDBusConnection* connection(void* bus) {
    return static_cast<GDBusConnection*>(bus);
}

}  // namespace

std::unique_ptr<XfceSettings> XfceSettings::open() {
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus) return nullptr;
    return std::unique_ptr<XfceSettings>(new XfceSettings(bus));
}

XfceSettings::~XfceSettings() {
    g_object_unref(connection(bus_));
}

std::optional<int> XfceSettings::read(DesktopSetting setting) {
    if (setting != DesktopSetting::DoubleClickTime) return std::nullopt;
    GVariant* reply = g_dbus_connection_call_sync(
        connection(bus_), kService, kPath, kInterface, "GetProperty",
        g_variant_new("(ss)", kChannel, kProperty), G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE,
        kTimeoutMs, nullptr, nullptr);
    // Unset (Xfce then uses its built-in time) or no Xfconf: the step stays as it was.
    if (!reply) return std::nullopt;
    GVariant* value = nullptr;
    g_variant_get(reply, "(v)", &value);
    g_variant_unref(reply);
    std::optional<int> ms;
    // Xfconf keeps the type its writer chose; the settings dialog writes a 32-bit integer.
    if (g_variant_is_of_type(value, G_VARIANT_TYPE_INT32)) {
        ms = g_variant_get_int32(value);
    } else if (g_variant_is_of_type(value, G_VARIANT_TYPE_UINT32)) {
        ms = static_cast<int>(std::min<guint32>(g_variant_get_uint32(value), 1u << 30));
    }
    g_variant_unref(value);
    if (ms && *ms <= 0) return std::nullopt;
    return ms;
}

bool XfceSettings::write(DesktopSetting setting, int value) {
    if (setting != DesktopSetting::DoubleClickTime) return false;
    GVariant* reply = g_dbus_connection_call_sync(
        connection(bus_), kService, kPath, kInterface, "SetProperty",
        g_variant_new("(ssv)", kChannel, kProperty, g_variant_new_int32(value)), nullptr,
        G_DBUS_CALL_FLAGS_NONE, kTimeoutMs, nullptr, nullptr);
    // A locked property or a daemon that is not there refuses the call.
    if (!reply) return false;
    g_variant_unref(reply);
    return true;
}

}  // namespace settings
