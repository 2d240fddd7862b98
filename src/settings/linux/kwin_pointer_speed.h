#pragma once
// Pointer speed under KWin on Wayland: the pointerAcceleration (-1 … 1) of every pointer device
// KWin lists over D-Bus. Read from the first, written to all.
#include <memory>
#include <string>
#include <vector>

#include "settings/linux/desktop_source.h"

namespace settings {

class KWinPointerSpeed : public DesktopSource {
  public:
    // Nothing when there is no session bus, no KWin on it, or no pointer device.
    static std::unique_ptr<KWinPointerSpeed> open();
    ~KWinPointerSpeed() override;

    bool holds(DesktopSetting setting) const override {
        return setting == DesktopSetting::PointerSpeed;
    }
    std::optional<int> read(DesktopSetting setting) override;
    bool write(DesktopSetting setting, int value) override;

  private:
    KWinPointerSpeed(void* bus, std::vector<std::string> devices)
        : bus_(bus), devices_(std::move(devices)) {}
    void* bus_;                         // GDBusConnection*
    std::vector<std::string> devices_;  // object paths of the pointer devices
};

}  // namespace settings
