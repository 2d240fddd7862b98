#pragma once
// Xfce's double-click time: the xsettings channel's /Net/DoubleClickTime, read and written
// through the Xfconf daemon over D-Bus. Its settings daemon hands a change to running programs.
// Xfce keeps no wheel-lines setting, and its pointer speed lives per device elsewhere.
#include <memory>

#include "settings/linux/desktop_source.h"

namespace settings {

class XfceSettings : public DesktopSource {
  public:
    // Nothing without a session bus. Xfconf itself may start only on the first call.
    static std::unique_ptr<XfceSettings> open();
    ~XfceSettings() override;

    bool holds(DesktopSetting setting) const override {
        return setting == DesktopSetting::DoubleClickTime;
    }
    std::optional<int> read(DesktopSetting setting) override;
    bool write(DesktopSetting setting, int value) override;

  private:
    explicit XfceSettings(void* bus) : bus_(bus) {}
    void* bus_;  // GDBusConnection*
};

}  // namespace settings
