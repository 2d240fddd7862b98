// The Advanced Page's bars on a GNOME desktop (GSettings with its keyfile backend): they show
// the desktop's values after a read, and a click and Apply change the desktop's values. Apply
// hands them to the desktop also when it refuses to write the mouse, and says which did not take.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/main_form.h"
#include "device/hid_transport.h"
#include "fake_host.h"
#include "settings/linux/desktop_store.h"
#include "settings/linux/gnome_settings.h"
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

using Sources = std::vector<std::unique_ptr<settings::DesktopSource>>;

// Desktop settings in files under a folder of the test's own.
struct DesktopFiles : ::testing::Test {
    fs::path home =
        fs::temp_directory_path() / ("quorvex-desktop-files-" + std::to_string(::getpid()));
    void SetUp() override { fs::remove_all(home); }
    void TearDown() override { fs::remove_all(home); }
    fs::path ownFile() const { return home / "quorvex/mouse-settings.ini"; }
    std::string ownSettings() const {
        std::stringstream s;
        s << std::ifstream(ownFile()).rdbuf();
        return s.str();
    }
};

// The window on a macro mouse, its store over `sources` and our own file.
struct Window {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    app::TForm1 form{host, mouse};
    int reportsIn = 0;

    void start(Sources sources, const fs::path& ownFile) {
        sources.push_back(std::make_unique<settings::OwnMouseSettingsFile>(ownFile.string()));
        form.setMouseSettingsStore(
            std::make_unique<settings::DesktopMouseSettingsStore>(std::move(sources)));
        form.FormCreate();
        host.advance(3500);
        mouse.firmware.clearFaults();
        host.messages.clear();
        reportsIn = mouse.firmware.counters().dataReportsIn;
    }
    bool mouseWritten() const { return mouse.firmware.counters().dataReportsIn > reportsIn; }
};

// A mouse the editor may not write gets nothing, but the desktop gets what the user chose.
TEST_F(DesktopFiles, ARefusedApplyOrConfirmStillAppliesTheDesktopSettings) {
    const auto incomplete = [](sim::MouseFirmware& fw) {
        fw.refuseCommandAfter(device::kCmdLongRead, 5);  // a macro read fails
    };
    const auto erased = [](sim::MouseFirmware& fw) {
        fw.program(0x6000, std::vector<std::uint8_t>(0x2000, 0xFF));
    };
    const struct {
        const char* what;
        std::function<void(sim::MouseFirmware&)> arm;
        const char* refusal;
        bool confirm;
    } cases[] = {
        {"Apply after an incomplete read", incomplete, "Str026", false},
        {"Confirm after an incomplete read", incomplete, "Str026", true},
        {"Apply on an erased mouse", erased, "Str028", false},
        {"Confirm on an erased mouse", erased, "Str028", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(home);
        Window w;
        c.arm(w.mouse.firmware);
        w.start({}, ownFile());
        ASSERT_TRUE(w.form.link().deviceOpen());
        w.form.MouseSettingBar_OnClick(settings::MouseSettings::Scroll, 5);
        c.confirm ? w.form.link().Btn_ConfirmClick() : w.form.link().Btn_ApplyClick();
        EXPECT_EQ(w.host.messages, std::vector{w.form.languageText(c.refusal)});
        EXPECT_FALSE(w.mouseWritten());
        EXPECT_NE(ownSettings().find("WheelScrollLines=5"), std::string::npos);
        EXPECT_EQ(w.host.closeRequests, 0);
    }
}

// One message names every setting the desktop did not take; the mouse is written all the same.
TEST_F(DesktopFiles, SettingsThatDidNotTakeAreToldOnce) {
    const struct {
        const char* what;
        const char* folderInstead;  // a folder where a settings file belongs
        bool kde;
        std::vector<const char*> names;
    } cases[] = {
        {"our own file cannot be saved",
         "quorvex/mouse-settings.ini",
         false,
         {"Str061", "Str062", "Str063"}},
        {"kdeglobals cannot be read", "kdeglobals", true, {"Str062", "Str063"}},
        {"everything takes", nullptr, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(home);
        fs::create_directories(home / "quorvex");
        if (c.folderInstead) fs::create_directories(home / c.folderInstead);
        Sources sources;
        if (c.kde)
            sources.push_back(
                std::make_unique<settings::KdeGlobalSettings>((home / "kdeglobals").string()));
        Window w;
        w.start(std::move(sources), ownFile());
        ASSERT_TRUE(w.form.link().deviceOpen());
        w.form.MouseSettingBar_OnClick(settings::MouseSettings::Speed, 3);
        w.form.MouseSettingBar_OnClick(settings::MouseSettings::DoubleClick, 10);
        w.form.MouseSettingBar_OnClick(settings::MouseSettings::Scroll, 5);
        w.form.link().Btn_ApplyClick();
        std::vector<std::string> told;
        if (!c.names.empty()) {
            std::string names;
            for (const char* key : c.names)
                names += (names.empty() ? "" : ", ") + w.form.languageText(key);
            std::string text = w.form.languageText("Str060");
            told.push_back(text.replace(text.find("%1"), 2, names));
        }
        EXPECT_EQ(w.host.messages, told);
        EXPECT_TRUE(w.mouseWritten());
    }
}

}  // namespace
}  // namespace scenario
