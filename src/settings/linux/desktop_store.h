#pragma once
// The Advanced Page's registry questions answered from a Linux desktop: each value comes from
// the first source that keeps it. Writes reach the running session at once, so the system
// calls that follow them on Windows have nothing left to do here.
#include <memory>
#include <string>
#include <vector>

#include "settings/linux/desktop_source.h"
#include "settings/mouse_settings.h"

namespace settings {

class DesktopMouseSettingsStore : public MouseSettingsStore {
  public:
    explicit DesktopMouseSettingsStore(std::vector<std::unique_ptr<DesktopSource>> sources)
        : sources_(std::move(sources)) {}

    bool openKey(const std::string& key) override;
    void closeKey() override { key_.clear(); }
    std::optional<std::string> readString(const std::string& name) override;
    bool writeString(const std::string& name, const std::string& value) override;
    void setMouseSpeed(int) override {}
    void setMouse(int, int, int) override {}
    void setDoubleClickTime(int) override {}
    void setWheelScrollLines(int) override {}

  private:
    std::optional<DesktopSetting> settingOf(const std::string& name) const;
    DesktopSource* keeperOf(DesktopSetting setting) const;

    std::vector<std::unique_ptr<DesktopSource>> sources_;
    std::string key_;
};

// The sources of the running desktop: KDE Plasma (kdeglobals, KWin or X11 for the speed), GNOME
// (GSettings), or a bare X server; our own file for whatever they do not keep.
std::vector<std::unique_ptr<DesktopSource>> desktopSources();

// The store over desktopSources(): what the editor's desktop settings module hands out.
std::unique_ptr<MouseSettingsStore> makeDesktopMouseSettingsStore();

}  // namespace settings
