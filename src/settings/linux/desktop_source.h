#pragma once
// One place a Linux desktop keeps some of the three mouse settings the Advanced Page edits.
#include <optional>

namespace settings {

enum class DesktopSetting {
    PointerSpeed,      // on the Windows scale "MouseSensitivity", 1 to 20
    DoubleClickTime,   // milliseconds
    WheelScrollLines,  // lines per notch
};

class DesktopSource {
  public:
    virtual ~DesktopSource() = default;
    // Whether this source is where the desktop keeps the setting.
    virtual bool holds(DesktopSetting setting) const = 0;
    // Nothing when the value is missing or unusable.
    virtual std::optional<int> read(DesktopSetting setting) = 0;
    // Writes the value for good and hands it to the running session; false when it did not
    // take (a locked key, a failed call, a file that cannot be saved).
    virtual bool write(DesktopSetting setting, int value) = 0;
};

// Pointer speed as desktops keep it (-1 … 1, 0 the default) and as the Windows scale (1 … 20).
// Step 1 is the slowest speed there is, so it maps to -1 rather than -0.9.
// Nothing for a speed that is not a finite number.
std::optional<int> sensitivityOfSpeed(double speed);
double speedOfSensitivity(int sensitivity);

}  // namespace settings
