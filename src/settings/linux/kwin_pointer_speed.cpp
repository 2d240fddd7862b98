#include "settings/linux/kwin_pointer_speed.h"

#include <gio/gio.h>

namespace settings {
namespace {

constexpr const char* kService = "org.kde.KWin";
constexpr const char* kManagerPath = "/org/kde/KWin/InputDevice";
constexpr const char* kManager = "org.kde.KWin.InputDeviceManager";
constexpr const char* kDevice = "org.kde.KWin.InputDevice";
constexpr int kTimeoutMs = 2000;

// The value of a property, or null; the caller unrefs it.
GVariant* property(GDBusConnection* bus, const std::string& path, const char* interface,
                   const char* name) {
    GVariant* reply = g_dbus_connection_call_sync(
        bus, kService, path.c_str(), "org.freedesktop.DBus.Properties", "Get",
        g_variant_new("(ss)", interface, name), G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE,
        kTimeoutMs, nullptr, nullptr);
    if (!reply) return nullptr;
    GVariant* value = nullptr;
    g_variant_get(reply, "(v)", &value);
    g_variant_unref(reply);
    return value;
}

}  // namespace

std::unique_ptr<KWinPointerSpeed> KWinPointerSpeed::open() {
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus) return nullptr;
    std::vector<std::string> pointers;
    if (GVariant* names = property(bus, kManagerPath, kManager, "devicesSysNames")) {
        if (g_variant_is_of_type(names, G_VARIANT_TYPE("as"))) {
            GVariantIter it;
            g_variant_iter_init(&it, names);
            const gchar* sysName = nullptr;
            while (g_variant_iter_next(&it, "&s", &sysName)) {
                const std::string path = std::string(kManagerPath) + "/" + sysName;
                if (!g_variant_is_object_path(path.c_str())) continue;
                GVariant* isPointer = property(bus, path, kDevice, "pointer");
                if (isPointer && g_variant_is_of_type(isPointer, G_VARIANT_TYPE_BOOLEAN) &&
                    g_variant_get_boolean(isPointer))
                    pointers.push_back(path);
                if (isPointer) g_variant_unref(isPointer);
            }
        }
        g_variant_unref(names);
    }
    if (pointers.empty()) {
        g_object_unref(bus);
        return nullptr;
    }
    return std::unique_ptr<KWinPointerSpeed>(new KWinPointerSpeed(bus, std::move(pointers)));
}

KWinPointerSpeed::~KWinPointerSpeed() {
    g_object_unref(static_cast<GDBusConnection*>(bus_));
}

std::optional<int> KWinPointerSpeed::read(DesktopSetting setting) {
    if (setting != DesktopSetting::PointerSpeed) return std::nullopt;
    auto* bus = static_cast<GDBusConnection*>(bus_);
    GVariant* value = property(bus, devices_.front(), kDevice, "pointerAcceleration");
    if (!value) return std::nullopt;
    std::optional<int> result;
    if (g_variant_is_of_type(value, G_VARIANT_TYPE_DOUBLE))
        result = sensitivityOfSpeed(g_variant_get_double(value));
    g_variant_unref(value);
    return result;
}

bool KWinPointerSpeed::write(DesktopSetting setting, int value) {
    if (setting != DesktopSetting::PointerSpeed) return false;
    auto* bus = static_cast<GDBusConnection*>(bus_);
    bool taken = true;
    for (const std::string& path : devices_) {
        GVariant* reply = g_dbus_connection_call_sync(
            bus, kService, path.c_str(), "org.freedesktop.DBus.Properties", "Set",
            g_variant_new("(ssv)", kDevice, "pointerAcceleration",
                          g_variant_new_double(speedOfSensitivity(value))),
            nullptr, G_DBUS_CALL_FLAGS_NONE, kTimeoutMs, nullptr, nullptr);
        // A KWin that went away or refused the property leaves that device as it was.
        taken = taken && reply;
        if (reply) g_variant_unref(reply);
    }
    return taken;
}

}  // namespace settings
