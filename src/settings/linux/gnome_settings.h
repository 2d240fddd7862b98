#pragma once
// GNOME's mouse settings through GSettings (org.gnome.desktop.peripherals.mouse): pointer speed
// and double-click time. GNOME has no wheel-lines setting.
#include <memory>

#include "settings/linux/desktop_source.h"

namespace settings {

class GnomeMouseSettings : public DesktopSource {
  public:
    // Nothing when the schema is not installed (GSettings aborts on a missing schema).
    static std::unique_ptr<GnomeMouseSettings> open();
    ~GnomeMouseSettings() override;

    bool holds(DesktopSetting setting) const override;
    std::optional<int> read(DesktopSetting setting) override;
    bool write(DesktopSetting setting, int value) override;

  private:
    explicit GnomeMouseSettings(void* settings) : settings_(settings) {}
    void* settings_;  // GSettings*, kept out of this header
};

}  // namespace settings
