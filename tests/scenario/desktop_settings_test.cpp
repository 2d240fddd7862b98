// The Advanced Page's bars on a GNOME desktop (GSettings with its keyfile backend): they show
// the desktop's values after a read, and a click and Apply change the desktop's values. Apply
// hands them to the desktop also when it refuses to write the mouse, and says which did not take.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>

#include "app/main_form.h"
#include "device/hid_transport.h"
#include "fake_host.h"
#include "settings/linux/desktop_store.h"
#include "settings/linux/gnome_settings.h"
#include "settings/linux/ini_file.h"
#include "settings/linux/kde_settings.h"
#include "settings/linux/own_settings_file.h"
#include "sim/sim_presets.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using settings::DesktopSetting;

TEST(GnomeDesktop, TheBarsShowAndChangeTheDesktopsMouseSettings) {
    const fs::path home =
        fs::temp_directory_path() / ("quorvex-gnome-" + std::to_string(::getpid()));
    fs::remove_all(home);
    ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    ::setenv("GSETTINGS_BACKEND", "keyfile", 1);
    auto desktop = settings::GnomeMouseSettings::open();
    ASSERT_TRUE(desktop);
    desktop->write(DesktopSetting::PointerSpeed, 14);  // speed 0.4
    desktop->write(DesktopSetting::DoubleClickTime, 340);

    testing_support::FakeHost host;
    sim::SimulatedMouse mouse(sim::DeviceKind::Macro);
    app::TForm1 form(host, mouse);
    std::vector<std::unique_ptr<settings::DesktopSource>> sources;
    sources.push_back(settings::GnomeMouseSettings::open());
    sources.push_back(std::make_unique<settings::OwnMouseSettingsFile>(
        (home / "quorvex/mouse-settings.ini").string()));
    form.setMouseSettingsStore(
        std::make_unique<settings::DesktopMouseSettingsStore>(std::move(sources)));
    form.FormCreate();
    host.advance(3500);
    ASSERT_TRUE(form.link().deviceOpen());
    form.Btn_AdvClick();
    EXPECT_EQ(form.at("Img_Spd8").picture(), "Bar1_E") << "sensitivity 14 is step 8";
    EXPECT_EQ(form.at("Img_Spd9").picture(), "Bar1_D");
    EXPECT_EQ(form.at("Img_DbSpd9").picture(), "Bar1_E") << "340 ms is step 9";
    EXPECT_EQ(form.at("Img_ScrSpd3").picture(), "Bar1_E") << "wheel lines: our file's 3";

    form.MouseSettingBar_OnClick(settings::MouseSettings::Speed, 3);
    form.MouseSettingBar_OnClick(settings::MouseSettings::Scroll, 5);
    EXPECT_EQ(desktop->read(DesktopSetting::PointerSpeed), 14) << "nothing changes before Apply";
    form.link().Btn_ApplyClick();
    host.advance(100);
    EXPECT_EQ(desktop->read(DesktopSetting::PointerSpeed), 4) << "step 3 is sensitivity 4";
    EXPECT_EQ(desktop->read(DesktopSetting::DoubleClickTime), 340);
    fs::remove_all(home);
}

// A window on a macro mouse whose desktop settings are in files of the test's own.
struct DesktopFiles : ::testing::Test {
    fs::path home = fs::temp_directory_path() / ("quorvex-files-" + std::to_string(::getpid()));
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    app::TForm1 form{host, mouse};
    int reportsIn = 0;

    void SetUp() override { fs::create_directories(home / "quorvex"); }
    void TearDown() override { fs::remove_all(home); }
    // Detects the mouse with a store over KDE's file and ours, and chooses two steps.
    void start() {
        std::vector<std::unique_ptr<settings::DesktopSource>> sources;
        sources.push_back(
            std::make_unique<settings::KdeGlobalSettings>((home / "kdeglobals").string()));
        sources.push_back(std::make_unique<settings::OwnMouseSettingsFile>(ownFile().string()));
        form.setMouseSettingsStore(
            std::make_unique<settings::DesktopMouseSettingsStore>(std::move(sources)));
        form.FormCreate();
        host.advance(400);  // read at the first paint, the macros behind the pages
        mouse.firmware.clearFaults();
        host.messages.clear();
        reportsIn = mouse.firmware.counters().dataReportsIn;
        form.MouseSettingBar_OnClick(settings::MouseSettings::Speed, 3);
        form.MouseSettingBar_OnClick(settings::MouseSettings::Scroll, 5);
    }
    fs::path ownFile() const { return home / "quorvex/mouse-settings.ini"; }
    bool mouseWritten() const { return mouse.firmware.counters().dataReportsIn > reportsIn; }
};

// The refusal keeps the mouse as it is; the desktop still gets what the user chose. Apply after
// an incomplete read, Confirm on an erased mouse.
struct RefusedWrite : DesktopFiles, ::testing::WithParamInterface<bool> {};

TEST_P(RefusedWrite, StillAppliesTheDesktopSettings) {
    const bool incomplete = GetParam();
    if (incomplete)
        mouse.firmware.refuseCommandAfter(device::kCmdLongRead, 5);  // a macro read fails
    else
        mouse.firmware.program(0x6000, std::vector<std::uint8_t>(0x2000, 0xFF));
    start();
    incomplete ? form.link().Btn_ApplyClick() : form.link().Btn_ConfirmClick();
    EXPECT_EQ(host.messages, std::vector{form.languageText(incomplete ? "Str026" : "Str028")});
    EXPECT_FALSE(mouseWritten());
    EXPECT_EQ(host.closeRequests, 0);
    EXPECT_EQ(settings::IniFile(ownFile().string()).value("Mouse", "PointerSpeed"), "4");
    EXPECT_EQ(settings::IniFile((home / "kdeglobals").string()).value("KDE", "WheelScrollLines"),
              "5");
}

INSTANTIATE_TEST_SUITE_P(DesktopFiles, RefusedWrite, ::testing::Bool());

// kdeglobals cannot be read: one message names the wheel lines alone; the rest goes on.
TEST_F(DesktopFiles, ASettingThatDidNotTakeIsToldOnce) {
    fs::create_directories(home / "kdeglobals");
    start();
    form.link().Btn_ApplyClick();
    std::string told = form.languageText("Str060");
    told.replace(told.find("%1"), 2, form.languageText("Str063"));
    EXPECT_EQ(host.messages, std::vector{told});
    EXPECT_TRUE(mouseWritten());
    EXPECT_EQ(settings::IniFile(ownFile().string()).value("Mouse", "PointerSpeed"), "4");
}

}  // namespace
}  // namespace scenario
