// The Advanced Page's three settings on Linux: GNOME's GSettings (real GIO, keyfile backend),
// KDE's kdeglobals, and our own file, through the store and the Part's step logic.
#include <gio/gio.h>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/linux/desktop_store.h"
#include "settings/linux/desktop_store_module.h"
#include "settings/linux/gnome_settings.h"
#include "settings/linux/ini_file.h"
#include "settings/linux/kde_settings.h"
#include "settings/linux/own_settings_file.h"
#include "support/unprivileged.h"

namespace settings {
namespace {

namespace fs = std::filesystem;
using Bar = MouseSettings::Bar;

std::string slurp(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Desktop : ::testing::Test {
    fs::path home = fs::temp_directory_path() / ("quorvex-desktop-" + std::to_string(::getpid()));
    void SetUp() override {
        fs::remove_all(home);
        fs::create_directories(home);
        ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        ::setenv("GSETTINGS_BACKEND", "keyfile", 1);
    }
    void TearDown() override { fs::remove_all(home); }

    std::string ownFile() const { return (home / "quorvex/mouse-settings.ini").string(); }
    // The store over the given sources, read once as the window reads it.
    template <typename... Sources>
    DesktopMouseSettingsStore store(std::unique_ptr<Sources>... sources) {
        std::vector<std::unique_ptr<DesktopSource>> list;
        (list.push_back(std::move(sources)), ...);
        return DesktopMouseSettingsStore(std::move(list));
    }
    static void read(MouseSettings& m, MouseSettingsStore& s) {
        m.RefreshMouseSystemParameterA(s);
        m.RefreshMouseSystemParameterB(s);
    }
};

TEST(PointerSpeedScale, MapsBothWays) {
    const struct {
        double speed;
        int sensitivity;
    } cases[] = {{0.0, 10}, {1.0, 20}, {-1.0, 1}, {-0.9, 1}, {0.44, 14}, {-0.85, 2}, {5.0, 20}};
    for (const auto& c : cases) EXPECT_EQ(sensitivityOfSpeed(c.speed), c.sensitivity) << c.speed;
    EXPECT_EQ(sensitivityOfSpeed(std::nan("")), std::nullopt);
    EXPECT_DOUBLE_EQ(speedOfSensitivity(1), -1.0) << "the slowest step is the slowest speed";
    EXPECT_DOUBLE_EQ(speedOfSensitivity(2), -0.8);
    EXPECT_DOUBLE_EQ(speedOfSensitivity(10), 0.0);
    EXPECT_DOUBLE_EQ(speedOfSensitivity(18), 0.8);
}

TEST_F(Desktop, GnomeSettingsAreReadAndWrittenThroughGio) {
    auto gnome = GnomeMouseSettings::open();
    ASSERT_TRUE(gnome) << "gsettings-desktop-schemas is installed by scripts/install-deps";
    GSettings* g = g_settings_new("org.gnome.desktop.peripherals.mouse");
    g_settings_set_double(g, "speed", 0.0);
    g_settings_set_int(g, "double-click", 500);
    g_settings_sync();

    auto s = store(std::move(gnome), std::make_unique<OwnMouseSettingsFile>(ownFile()));
    MouseSettings m;
    read(m, s);
    EXPECT_EQ(m.step(Bar::Speed), 6) << "speed 0 is sensitivity 10";
    EXPECT_EQ(m.step(Bar::DoubleClick), 0) << "500 ms fills no step";
    EXPECT_EQ(m.doubleClickTime(), 500);
    EXPECT_EQ(m.step(Bar::Scroll), 3) << "GNOME has no wheel lines: our file's default";

    m.setStep(Bar::Speed, 1);
    m.setStep(Bar::DoubleClick, 10);
    m.setStep(Bar::Scroll, 7);
    m.apply(s);
    GSettings* fresh = g_settings_new("org.gnome.desktop.peripherals.mouse");
    EXPECT_DOUBLE_EQ(g_settings_get_double(fresh, "speed"), -1.0);
    EXPECT_EQ(g_settings_get_int(fresh, "double-click"), 270) << "step 10 writes 270 ms";
    EXPECT_NE(slurp(home / "glib-2.0/settings/keyfile").find("double-click=270"),
              std::string::npos);
    EXPECT_NE(slurp(ownFile()).find("WheelScrollLines=7"), std::string::npos);
    g_object_unref(fresh);
    g_object_unref(g);
}

TEST_F(Desktop, KdeGlobalsAreReadAndEditedInPlace) {
    const fs::path globals = home / "kdeglobals";
    std::ofstream(globals) << "[General]\nColorScheme=Breeze\n\n[KDE]\nDoubleClickInterval=900\n"
                              "WheelScrollLines=lots\nSingleClick=false\n";
    auto s = store(std::make_unique<KdeGlobalSettings>(globals.string()),
                   std::make_unique<OwnMouseSettingsFile>(ownFile()));
    MouseSettings m;
    m.setStep(Bar::Scroll, 4);
    read(m, s);
    EXPECT_EQ(m.step(Bar::DoubleClick), 1);
    EXPECT_EQ(m.step(Bar::Scroll), 4) << "a value that is no number leaves the step";
    EXPECT_EQ(m.step(Bar::Speed), 6) << "KDE keeps no speed here: our file's default";

    m.setStep(Bar::Scroll, 3);
    m.setStep(Bar::DoubleClick, 2);
    m.apply(s);
    EXPECT_EQ(slurp(globals),
              "[General]\nColorScheme=Breeze\n\n[KDE]\nDoubleClickInterval=830\n"
              "WheelScrollLines=3\nSingleClick=false\n");

    fs::remove(globals);
    MouseSettings fresh;
    read(fresh, s);
    EXPECT_EQ(fresh.doubleClickTime(), 400) << "Plasma's default when kdeglobals says nothing";
}

TEST_F(Desktop, OwnFileHasDefaultsAndSurvivesBadValues) {
    auto s = store(std::make_unique<OwnMouseSettingsFile>(ownFile()));
    MouseSettings m;
    read(m, s);
    EXPECT_EQ(m.sensitivity(), 10);
    EXPECT_EQ(m.doubleClickTime(), 500);
    EXPECT_EQ(m.scrollLines(), 3);

    fs::create_directories(fs::path(ownFile()).parent_path());
    std::ofstream(ownFile()) << "[Mouse]\nPointerSpeed=\nDoubleClickTime=99999999999\n"
                                "WheelScrollLines=-2\n";
    MouseSettings bad;
    bad.setStep(Bar::Speed, 2);
    read(bad, s);
    EXPECT_EQ(bad.step(Bar::Speed), 2);
    EXPECT_EQ(bad.sensitivity(), 0);
    EXPECT_EQ(bad.doubleClickTime(), 0);
    EXPECT_EQ(bad.scrollLines(), 0);

    // A file that cannot be written (a folder in its place) leaves everything as it was.
    fs::remove(ownFile());
    fs::create_directories(ownFile());
    bad.setStep(Bar::Scroll, 5);
    EXPECT_EQ(bad.apply(s), (std::vector{Bar::Speed, Bar::Scroll})) << "both chosen, neither kept";
    EXPECT_TRUE(fs::is_directory(ownFile()));
}

#ifdef QUORVEX_DESKTOP_SETTINGS_MODULE
// The module the editor loads exports its entry and hands out a store of this desktop.
TEST_F(Desktop, TheEditorsModuleMakesAStoreOfThisDesktop) {
    fs::create_directories(fs::path(ownFile()).parent_path());
    std::ofstream(ownFile()) << "[Mouse]\nWheelScrollLines=7\n";
    void* module = dlopen(QUORVEX_DESKTOP_SETTINGS_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    const auto entry =
        reinterpret_cast<NewDesktopMouseSettingsStore>(dlsym(module, kDesktopSettingsEntry));
    ASSERT_NE(entry, nullptr) << dlerror();
    const std::unique_ptr<MouseSettingsStore> s(entry());
    MouseSettings m;
    read(m, *s);
    EXPECT_EQ(m.scrollLines(), 7);
}
#endif

TEST(IniFile, AddsMissingKeysAndGroups) {
    const fs::path p = fs::temp_directory_path() / ("quorvex-ini-" + std::to_string(::getpid()));
    std::ofstream(p) << "; note\n[A]\nx=1\n\n[B]\ny=2\n";
    IniFile f(p.string());
    f.set("A", "z", "3");
    f.set("C", "w", "4");
    f.set("B", "y", "5");
    ASSERT_TRUE(f.save());
    EXPECT_EQ(slurp(p), "; note\n[A]\nx=1\nz=3\n\n[B]\ny=5\n\n[C]\nw=4\n");
    EXPECT_EQ(IniFile(p.string()).number("C", "w", 1, 9), 4);
    EXPECT_EQ(IniFile(p.string()).number("C", "w", 5, 9), std::nullopt);
    fs::remove(p);
}

TEST(RunningDesktop, IsTheFirstNameWeKnowInAnyCase) {
    const struct {
        const char* current;
        RunningDesktop desktop;
    } cases[] = {{"", RunningDesktop::Other},
                 {"GNOME", RunningDesktop::Gnome},
                 {"ubuntu:GNOME", RunningDesktop::Gnome},
                 {"Budgie:GNOME", RunningDesktop::Gnome},
                 {"Unity:Unity7:ubuntu", RunningDesktop::Gnome},
                 {"Pantheon", RunningDesktop::Gnome},
                 {"KDE", RunningDesktop::Kde},
                 {"kde", RunningDesktop::Kde},
                 {"XFCE", RunningDesktop::Xfce},
                 {"X-Cinnamon", RunningDesktop::Other},
                 {"MATE", RunningDesktop::Other},
                 {"LXQt", RunningDesktop::Other},
                 {"XFCE4", RunningDesktop::Other},
                 {"GNOME-Classic:GNOME", RunningDesktop::Gnome},
                 {":X-Generic::KDE:", RunningDesktop::Kde}};
    for (const auto& c : cases) EXPECT_EQ(runningDesktop(c.current), c.desktop) << c.current;
}

// With GNOME's schema installed (as on most systems), only a GNOME session writes to it; any
// other desktop would never read the change.
TEST_F(Desktop, ADoubleClickLandsWhereTheRunningDesktopReadsIt) {
    ::unsetenv("DISPLAY");
    enum Where { Gsettings, Kdeglobals, OwnFile };
    const struct {
        const char* current;
        Where where;
    } cases[] = {
        {"ubuntu:GNOME", Gsettings}, {"KDE", Kdeglobals}, {"X-Cinnamon", OwnFile}, {"", OwnFile}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        fs::remove(ownFile());
        fs::remove(home / "kdeglobals");
        GSettings* g = g_settings_new("org.gnome.desktop.peripherals.mouse");
        g_settings_set_int(g, "double-click", 500);
        g_settings_sync();
        ::setenv("XDG_CURRENT_DESKTOP", c.current, 1);
        const auto s = makeDesktopMouseSettingsStore();
        ASSERT_TRUE(s->openKey("Control Panel\\Mouse"));
        EXPECT_TRUE(s->writeString("DoubleClickSpeed", "620"));
        EXPECT_EQ(g_settings_get_int(g, "double-click"), c.where == Gsettings ? 620 : 500);
        EXPECT_EQ(slurp(home / "kdeglobals").find("DoubleClickInterval=620") != std::string::npos,
                  c.where == Kdeglobals);
        EXPECT_EQ(slurp(ownFile()).find("DoubleClickTime=620") != std::string::npos,
                  c.where == OwnFile);
        g_object_unref(g);
    }
    ::unsetenv("XDG_CURRENT_DESKTOP");
}

// kdeglobals is edited where it lies or not at all. Unreadable to an ordinary user (root reads
// anything), or a folder: either would otherwise be replaced by a file of one key.
TEST_F(Desktop, KdeGlobalsThatCannotBeReadAreNeverWritten) {
    const fs::path globals = home / "kdeglobals";
    const std::string kept = "[General]\nColorScheme=Breeze\n";
    const auto save = [&] {
        IniFile f(globals.string());
        f.set("KDE", "WheelScrollLines", "5");
        return f.save() ? 1 : 0;
    };
    fs::permissions(home, fs::perms::all);
    std::ofstream(globals) << kept;
    fs::permissions(globals, fs::perms(0222));
    EXPECT_EQ(testing_support::runUnprivileged(save), 0);
    EXPECT_EQ(slurp(globals), kept);
    fs::remove(globals);
    fs::create_directories(globals);
    EXPECT_EQ(save(), 0);
    fs::remove(globals);
    fs::create_directories(home / "dotfiles");
    std::ofstream(home / "dotfiles/kdeglobals") << kept;
    fs::create_symlink("dotfiles/kdeglobals", globals);
    EXPECT_EQ(save(), 1);
    EXPECT_TRUE(fs::is_symlink(globals));
    EXPECT_EQ(slurp(globals), kept + "\n[KDE]\nWheelScrollLines=5\n");
}

}  // namespace
}  // namespace settings
