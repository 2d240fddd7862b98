#pragma once
// The Advanced Page's registry questions answered from a Linux desktop: each value comes from
// the first source that keeps it. Writes reach the running session at once, so the system
// calls that follow them on Windows have nothing left to do here.
#include <memory>
#include <string>
#include <string_view>
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

// Whose settings the running desktop reads, from XDG_CURRENT_DESKTOP: the first of its
// colon-separated names that we know, in any case. Unity, Budgie and Pantheon read GNOME's keys.
enum class RunningDesktop { Gnome, Kde, Xfce, Other };
RunningDesktop runningDesktop(std::string_view currentDesktop);

// The sources of the running desktop, so that a change lands where that desktop reads it (an
// installed but unused GNOME schema is not written to): GNOME's GSettings; KDE Plasma's
// kdeglobals and KWin; Xfce's Xfconf. The pointer speed that no desktop source keeps goes to the
// X server, where it lasts for the session only: the next login starts from the desktop's own
// setting again. Our own file keeps whatever is left.
std::vector<std::unique_ptr<DesktopSource>> desktopSources(RunningDesktop desktop);

// The store over the sources of the desktop XDG_CURRENT_DESKTOP names: what the editor's desktop
// settings module hands out.
std::unique_ptr<MouseSettingsStore> makeDesktopMouseSettingsStore();

}  // namespace settings
