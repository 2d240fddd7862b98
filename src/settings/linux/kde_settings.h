#pragma once
// KDE Plasma's double-click time and wheel lines: kdeglobals, group [KDE], followed by the
// notifyChange signal that makes running programs reread them.
#include <string>

#include "settings/linux/desktop_source.h"

namespace settings {

class KdeGlobalSettings : public DesktopSource {
  public:
    // `path` is the kdeglobals file ($XDG_CONFIG_HOME/kdeglobals).
    explicit KdeGlobalSettings(std::string path) : path_(std::move(path)) {}

    bool holds(DesktopSetting setting) const override;
    std::optional<int> read(DesktopSetting setting) override;
    bool write(DesktopSetting setting, int value) override;

  private:
    std::string path_;
};

}  // namespace settings
