#pragma once
// What no desktop holds (wheel lines on GNOME, everything on a bare X server) kept in a file of
// our own, $XDG_CONFIG_HOME/quorvex/mouse-settings.ini. It stands in for the system's values,
// so a missing entry reads as Windows' default: pointer speed 10, double-click 500 ms, 3 lines.
#include <string>

#include "settings/linux/desktop_source.h"

namespace settings {

class OwnMouseSettingsFile : public DesktopSource {
  public:
    explicit OwnMouseSettingsFile(std::string path) : path_(std::move(path)) {}

    bool holds(DesktopSetting) const override { return true; }
    std::optional<int> read(DesktopSetting setting) override;
    bool write(DesktopSetting setting, int value) override;

  private:
    std::string path_;
};

// $XDG_CONFIG_HOME, or ~/.config where it is unset or not absolute.
std::string userConfigFolder();

}  // namespace settings
