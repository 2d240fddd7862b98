// The Advanced Page's bars on a GNOME desktop (GSettings with its keyfile backend): they show
// the desktop's values after a read, and a click and Apply change the desktop's values.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>

#include "app/main_form.h"
#include "fake_host.h"
#include "settings/linux/desktop_store.h"
#include "settings/linux/gnome_settings.h"
#include "settings/linux/own_settings_file.h"
#include "sim/sim_presets.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using settings::DesktopSetting;

TEST(GnomeDesktop, TheBarsShowAndChangeTheDesktopsMouseSettings) {
    const fs::path home = fs::temp_directory_path() / ("quorvex-gnome-" + std::to_string(::getpid()));
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

}  // namespace
}  // namespace scenario
