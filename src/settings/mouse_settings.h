#pragma once
// The desktop's pointer speed, double-click speed and wheel scroll lines as three ten-step
// bars: read from the user's settings, written back when the mouse is written.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace settings {

// The user's settings store and the running system's mouse parameters (the registry and
// SystemParametersInfo on Windows).
class MouseSettingsStore {
  public:
    virtual ~MouseSettingsStore() = default;
    // Opens an existing key ("Control Panel\Mouse", "Control Panel\Desktop"); never creates it.
    virtual bool openKey(const std::string& key) = 0;
    virtual void closeKey() = 0;
    virtual std::optional<std::string> readString(const std::string& name) = 0;
    // Whether the value took: false for a refused registry write, a locked or unsavable store.
    virtual bool writeString(const std::string& name, const std::string& value) = 0;
    virtual void setMouseSpeed(int sensitivity) = 0;
    virtual void setMouse(int threshold1, int threshold2, int acceleration) = 0;
    virtual void setDoubleClickTime(int milliseconds) = 0;
    virtual void setWheelScrollLines(int lines) = 0;
};

// The store of this platform, or null where the editor has none yet.
std::unique_ptr<MouseSettingsStore> makeSystemMouseSettingsStore();

class MouseSettings {
  public:
    enum Bar { Speed = 0, DoubleClick = 1, Scroll = 2 };

    // Steps 1-10, or 0 while no value has been recognised.
    int step(Bar bar) const { return steps_[bar]; }
    void setStep(Bar bar, int step) { steps_[bar] = step; }

    void RefreshMouseSystemParameterA(MouseSettingsStore& store);
    void RefreshMouseSystemParameterB(MouseSettingsStore& store);
    // Writes the chosen steps and hands all values to the running system. Returns the bars
    // whose chosen value did not take; their values stay as they were.
    std::vector<Bar> apply(MouseSettingsStore& store);

    int sensitivity() const { return sensitivity_; }
    int doubleClickTime() const { return doubleClickTime_; }
    int scrollLines() const { return scrollLines_; }

  private:
    std::array<int, 3> steps_{};
    int sensitivity_ = 0, doubleClickTime_ = 0, scrollLines_ = 0;
    int acceleration_ = 0, threshold1_ = 0, threshold2_ = 0;
    // All three acceleration values were read once: only then are they handed back.
    bool accelerationRead_ = false;
};

// The value stored for a step (1-10) of a bar, and the step of a stored value (0 for none).
int valueOfStep(MouseSettings::Bar bar, int step);
int stepOfValue(MouseSettings::Bar bar, int value);

}  // namespace settings
