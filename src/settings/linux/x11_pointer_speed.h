#pragma once
// Pointer speed on a plain X server: the XInput property "libinput Accel Speed" (-1 … 1) of
// every pointer device, for the running session. Read from the first, written to all.
#include <memory>
#include <vector>

#include "settings/linux/desktop_source.h"

namespace settings {

class X11PointerSpeed : public DesktopSource {
  public:
    // Nothing without a display, without XInput2 or without a device that has the property.
    static std::unique_ptr<X11PointerSpeed> open();
    ~X11PointerSpeed() override;

    bool holds(DesktopSetting setting) const override {
        return setting == DesktopSetting::PointerSpeed;
    }
    std::optional<int> read(DesktopSetting setting) override;
    bool write(DesktopSetting setting, int value) override;

  private:
    X11PointerSpeed(void* display, std::vector<int> devices)
        : display_(display), devices_(std::move(devices)) {}
    void* display_;  // Display*
    std::vector<int> devices_;
};

}  // namespace settings
