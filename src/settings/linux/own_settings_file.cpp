#include "settings/linux/own_settings_file.h"

#include <cstdlib>

#include "settings/linux/ini_file.h"

namespace settings {
namespace {

struct Entry {
    const char* key;
    int fallback, low, high;
};

Entry entryOf(DesktopSetting setting) {
    switch (setting) {
        case DesktopSetting::PointerSpeed:
            return {"PointerSpeed", 10, 1, 20};
        case DesktopSetting::DoubleClickTime:
            return {"DoubleClickTime", 500, 1, 5000};
        case DesktopSetting::WheelScrollLines:
            break;
    }
    return {"WheelScrollLines", 3, 1, 100};
}

}  // namespace

std::string userConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return config;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config";
}

std::optional<int> OwnMouseSettingsFile::read(DesktopSetting setting) {
    const Entry e = entryOf(setting);
    const IniFile file(path_);
    if (!file.value("Mouse", e.key)) return e.fallback;
    return file.number("Mouse", e.key, e.low, e.high);
}

bool OwnMouseSettingsFile::write(DesktopSetting setting, int value) {
    IniFile file(path_);
    file.set("Mouse", entryOf(setting).key, std::to_string(value));
    return file.save();
}

}  // namespace settings
