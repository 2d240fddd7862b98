#include "settings/linux/desktop_store.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "settings/linux/gnome_settings.h"
#include "settings/linux/kde_settings.h"
#include "settings/linux/kwin_pointer_speed.h"
#include "settings/linux/own_settings_file.h"
#include "settings/linux/x11_pointer_speed.h"
#include "settings/linux/xfce_settings.h"

namespace settings {

std::optional<int> sensitivityOfSpeed(double speed) {
    if (!std::isfinite(speed)) return std::nullopt;
    const long w = std::lround(10.0 + 10.0 * speed);
    return static_cast<int>(std::clamp(w, 1L, 20L));
}

double speedOfSensitivity(int sensitivity) {
    if (sensitivity <= 1) return -1.0;
    return (std::min(sensitivity, 20) - 10) / 10.0;
}

bool DesktopMouseSettingsStore::openKey(const std::string& key) {
    if (key != "Control Panel\\Mouse" && key != "Control Panel\\Desktop") return false;
    key_ = key;
    return true;
}

std::optional<DesktopSetting> DesktopMouseSettingsStore::settingOf(const std::string& name) const {
    if (key_ == "Control Panel\\Mouse") {
        if (name == "MouseSensitivity") return DesktopSetting::PointerSpeed;
        if (name == "DoubleClickSpeed") return DesktopSetting::DoubleClickTime;
    } else if (key_ == "Control Panel\\Desktop" && name == "WheelScrollLines") {
        return DesktopSetting::WheelScrollLines;
    }
    return std::nullopt;  // the acceleration values: Linux desktops have no such thing
}

DesktopSource* DesktopMouseSettingsStore::keeperOf(DesktopSetting setting) const {
    for (const auto& source : sources_) {
        if (source->holds(setting)) return source.get();
    }
    return nullptr;
}

std::optional<std::string> DesktopMouseSettingsStore::readString(const std::string& name) {
    const auto setting = settingOf(name);
    DesktopSource* keeper = setting ? keeperOf(*setting) : nullptr;
    if (!keeper) return std::nullopt;
    const auto value = keeper->read(*setting);
    // A value the desktop holds but we cannot use reads as text that is no number: the step and
    // the number stay as they were.
    return value ? std::to_string(*value) : std::string("?");
}

bool DesktopMouseSettingsStore::writeString(const std::string& name, const std::string& value) {
    const auto setting = settingOf(name);
    DesktopSource* keeper = setting ? keeperOf(*setting) : nullptr;
    int number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (!keeper || ec != std::errc() || end != value.data() + value.size()) return false;
    return keeper->write(*setting, number);
}

RunningDesktop runningDesktop(std::string_view currentDesktop) {
    const auto is = [](std::string_view name, std::string_view known) {
        return std::equal(name.begin(), name.end(), known.begin(), known.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == b;
        });
    };
    while (!currentDesktop.empty()) {
        const std::size_t colon = currentDesktop.find(':');
        const std::string_view name = currentDesktop.substr(0, colon);
        currentDesktop.remove_prefix(colon == std::string_view::npos ? currentDesktop.size()
                                                                     : colon + 1);
        for (const std::string_view gnome : {"gnome", "unity", "budgie", "pantheon"})
            if (is(name, gnome)) return RunningDesktop::Gnome;
        if (is(name, "kde")) return RunningDesktop::Kde;
        if (is(name, "xfce")) return RunningDesktop::Xfce;
    }
    return RunningDesktop::Other;
}

std::vector<std::unique_ptr<DesktopSource>> desktopSources(RunningDesktop desktop) {
    std::vector<std::unique_ptr<DesktopSource>> sources;
    switch (desktop) {
        case RunningDesktop::Gnome:
            if (auto gnome = GnomeMouseSettings::open()) sources.push_back(std::move(gnome));
            break;
        case RunningDesktop::Kde:
            sources.push_back(
                std::make_unique<KdeGlobalSettings>(userConfigFolder() + "/kdeglobals"));
            if (auto kwin = KWinPointerSpeed::open()) sources.push_back(std::move(kwin));
            break;
        case RunningDesktop::Xfce:
            if (auto xfce = XfceSettings::open()) sources.push_back(std::move(xfce));
            break;
        case RunningDesktop::Other:
            break;
    }
    // The X server is asked only when no desktop keeps the speed: opening it costs start-up time.
    const bool speedKept = std::any_of(sources.begin(), sources.end(), [](const auto& s) {
        return s->holds(DesktopSetting::PointerSpeed);
    });
    if (!speedKept) {
        if (auto x11 = X11PointerSpeed::open()) sources.push_back(std::move(x11));
    }
    sources.push_back(
        std::make_unique<OwnMouseSettingsFile>(userConfigFolder() + "/quorvex/mouse-settings.ini"));
    return sources;
}

std::unique_ptr<MouseSettingsStore> makeDesktopMouseSettingsStore() {
    const char* current = std::getenv("XDG_CURRENT_DESKTOP");
    return std::make_unique<DesktopMouseSettingsStore>(
        desktopSources(runningDesktop(current ? current : "")));
}

}  // namespace settings
