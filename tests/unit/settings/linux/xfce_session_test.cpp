// Xfce on a private session bus (run under dbus-run-session): the real Xfconf daemon, started by
// D-Bus activation, keeps the double-click time that the editor reads and writes.
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "settings/linux/desktop_store.h"
#include "settings/linux/xfce_settings.h"

namespace settings {
namespace {

// A call to Xfconf as another client (Xfce's own settings dialog) makes it.
GVariant* xfconf(GDBusConnection* bus, const char* method, GVariant* args) {
    return g_dbus_connection_call_sync(bus, "org.xfce.Xfconf", "/org/xfce/Xfconf",
                                       "org.xfce.Xfconf", method, args, nullptr,
                                       G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
}

bool activatable(GDBusConnection* bus, const std::string& name) {
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "ListActivatableNames", nullptr, G_VARIANT_TYPE("(as)"), G_DBUS_CALL_FLAGS_NONE, 5000,
        nullptr, nullptr);
    if (!reply) return false;
    GVariantIter* it = nullptr;
    g_variant_get(reply, "(as)", &it);
    bool found = false;
    const gchar* n = nullptr;
    while (g_variant_iter_next(it, "&s", &n)) found = found || name == n;
    g_variant_iter_free(it);
    g_variant_unref(reply);
    return found;
}

// What Xfconf holds now, or -1.
int storedTime(GDBusConnection* bus) {
    GVariant* reply =
        xfconf(bus, "GetProperty", g_variant_new("(ss)", "xsettings", "/Net/DoubleClickTime"));
    if (!reply) return -1;
    GVariant* v = nullptr;
    g_variant_get(reply, "(v)", &v);
    const int ms = g_variant_is_of_type(v, G_VARIANT_TYPE_INT32) ? g_variant_get_int32(v) : -1;
    g_variant_unref(v);
    g_variant_unref(reply);
    return ms;
}

TEST(XfceSession, DoubleClickTimeGoesThroughXfconf) {
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "needs dbus-run-session";
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    ASSERT_TRUE(bus);
    if (!activatable(bus, "org.xfce.Xfconf"))
        GTEST_SKIP() << "no Xfconf daemon to start (scripts/install-deps installs xfconf)";
    // A clean start: the daemon keeps its channels in XDG_CONFIG_HOME across runs.
    if (GVariant* r = xfconf(bus, "ResetProperty",
                             g_variant_new("(ssb)", "xsettings", "/Net/DoubleClickTime", FALSE)))
        g_variant_unref(r);

    auto xfce = XfceSettings::open();
    ASSERT_TRUE(xfce);
    EXPECT_EQ(xfce->read(DesktopSetting::DoubleClickTime), std::nullopt) << "not set yet";
    GVariant* set = xfconf(
        bus, "SetProperty",
        g_variant_new("(ssv)", "xsettings", "/Net/DoubleClickTime", g_variant_new_int32(450)));
    ASSERT_TRUE(set);
    g_variant_unref(set);
    EXPECT_EQ(xfce->read(DesktopSetting::DoubleClickTime), 450);

    // Through the store an Xfce session gets, as the Advanced Page applies it.
    ::setenv("XDG_CURRENT_DESKTOP", "XFCE", 1);
    const auto store = makeDesktopMouseSettingsStore();
    ASSERT_TRUE(store->openKey("Control Panel\\Mouse"));
    EXPECT_EQ(store->readString("DoubleClickSpeed"), "450");
    EXPECT_TRUE(store->writeString("DoubleClickSpeed", "620"));
    EXPECT_EQ(storedTime(bus), 620);
    EXPECT_FALSE(xfce->write(DesktopSetting::WheelScrollLines, 5)) << "Xfce keeps no wheel lines";
    g_object_unref(bus);
}

}  // namespace
}  // namespace settings
