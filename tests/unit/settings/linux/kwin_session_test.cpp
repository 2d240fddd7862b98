// KDE on a private session bus (run under dbus-run-session): a small fake KWin lists a pointer
// and a keyboard; the pointer speed is read from the pointer and written to it alone, and
// writing kdeglobals sends KGlobalSettings' notifyChange.
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>

#include "settings/linux/kde_settings.h"
#include "settings/linux/kwin_pointer_speed.h"

namespace settings {
namespace {

constexpr const char* kXml =
    "<node>"
    "<interface name='org.kde.KWin.InputDeviceManager'>"
    "<property name='devicesSysNames' type='as' access='read'/></interface>"
    "<interface name='org.kde.KWin.InputDevice'>"
    "<property name='pointer' type='b' access='read'/>"
    "<property name='pointerAcceleration' type='d' access='readwrite'/></interface>"
    "</node>";

// KWin's input devices on a connection of their own, served from a thread of their own.
class FakeKWin {
  public:
    std::map<std::string, double> acceleration{{"event3", 0.2}, {"event4", 0.7}};
    std::atomic<int> notifications{0};

    FakeKWin() {
        gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        if (!address) return;
        bus_ = g_dbus_connection_new_for_address_sync(
            address,
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                 G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        g_free(address);
        if (!bus_) return;
        info_ = g_dbus_node_info_new_for_xml(kXml, nullptr);
        context_ = g_main_context_new();
        g_main_context_push_thread_default(context_);
        static const GDBusInterfaceVTable vtable{nullptr, &FakeKWin::get, &FakeKWin::set, {}};
        g_dbus_connection_register_object(bus_, "/org/kde/KWin/InputDevice", info_->interfaces[0],
                                          &vtable, this, nullptr, nullptr);
        for (const auto& [name, value] : acceleration)
            g_dbus_connection_register_object(bus_, ("/org/kde/KWin/InputDevice/" + name).c_str(),
                                              info_->interfaces[1], &vtable, this, nullptr,
                                              nullptr);
        g_dbus_connection_signal_subscribe(
            bus_, nullptr, "org.kde.KGlobalSettings", "notifyChange", "/KGlobalSettings",
            nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
            [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
               GVariant* p, gpointer self) {
                gint kind = 0, arg = 0;
                g_variant_get(p, "(ii)", &kind, &arg);
                if (kind == 3 && arg == 0) ++static_cast<FakeKWin*>(self)->notifications;
            },
            this, nullptr);
        g_main_context_pop_thread_default(context_);
        GVariant* r = g_dbus_connection_call_sync(
            bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
            "RequestName", g_variant_new("(su)", "org.kde.KWin", 4u), nullptr,
            G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
        if (r) g_variant_unref(r);
        loop_ = g_main_loop_new(context_, FALSE);
        thread_ = std::thread([this] { g_main_loop_run(loop_); });
    }
    ~FakeKWin() {
        if (!loop_) return;
        g_main_loop_quit(loop_);
        thread_.join();
        g_main_loop_unref(loop_);
        g_object_unref(bus_);
        g_dbus_node_info_unref(info_);
        g_main_context_unref(context_);
    }
    bool running() const { return loop_ != nullptr; }
    // Runs until the fake has seen `n` notifications or a second has passed.
    void waitForNotifications(int n) const {
        for (int i = 0; i < 100 && notifications < n; ++i) ::usleep(10000);
    }

  private:
    static std::string device(const gchar* path) {
        return std::filesystem::path(path).filename().string();
    }
    static GVariant* get(GDBusConnection*, const gchar*, const gchar* path, const gchar*,
                         const gchar* property, GError**, gpointer self) {
        auto* k = static_cast<FakeKWin*>(self);
        const std::string name = property;
        if (name == "devicesSysNames") {
            const gchar* names[] = {"event3", "event4", nullptr};
            return g_variant_new_strv(names, -1);
        }
        if (name == "pointer") return g_variant_new_boolean(device(path) == "event3");
        return g_variant_new_double(k->acceleration.at(device(path)));
    }
    static gboolean set(GDBusConnection*, const gchar*, const gchar* path, const gchar*,
                        const gchar*, GVariant* value, GError**, gpointer self) {
        static_cast<FakeKWin*>(self)->acceleration[device(path)] = g_variant_get_double(value);
        return TRUE;
    }

    GDBusConnection* bus_ = nullptr;
    GDBusNodeInfo* info_ = nullptr;
    GMainContext* context_ = nullptr;
    GMainLoop* loop_ = nullptr;
    std::thread thread_;
};

TEST(KdeSession, PointerSpeedGoesThroughKWinAndKdeglobalsAreAnnounced) {
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "needs dbus-run-session";
    FakeKWin kwin;
    ASSERT_TRUE(kwin.running());
    auto speed = KWinPointerSpeed::open();
    ASSERT_TRUE(speed) << "KWin lists one pointer device";
    EXPECT_EQ(speed->read(DesktopSetting::PointerSpeed), 12);
    speed->write(DesktopSetting::PointerSpeed, 6);
    EXPECT_DOUBLE_EQ(kwin.acceleration["event3"], -0.4);
    EXPECT_DOUBLE_EQ(kwin.acceleration["event4"], 0.7) << "the keyboard is left alone";

    const auto globals = std::filesystem::temp_directory_path() /
                         ("quorvex-kdeglobals-" + std::to_string(::getpid()));
    KdeGlobalSettings kde(globals.string());
    kde.write(DesktopSetting::WheelScrollLines, 6);
    kwin.waitForNotifications(1);
    EXPECT_EQ(kwin.notifications, 1);
    std::filesystem::remove(globals);
}

TEST(KdeSession, NoKWinNoSource) {
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "needs dbus-run-session";
    EXPECT_FALSE(KWinPointerSpeed::open());
}

}  // namespace
}  // namespace settings
