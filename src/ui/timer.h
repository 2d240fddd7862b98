#pragma once
// A timer of the window model. The host drives it (a QTimer, or virtual time in tests).
#include <functional>
#include <string>

namespace ui {

class Timer;

class TimerDriver {
  public:
    virtual ~TimerDriver() = default;
    // The timer's interval or enabled state changed.
    virtual void timerChanged(Timer& timer) = 0;
};

class Timer {
  public:
    explicit Timer(std::string name, int intervalMs = 1000, bool enabled = false)
        : name_(std::move(name)), interval_(intervalMs), enabled_(enabled) {}
    ~Timer() { setDriver(nullptr); }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }
    int interval() const { return interval_; }
    void setInterval(int ms) {
        interval_ = ms;
        notify();
    }
    bool enabled() const { return enabled_; }
    void setEnabled(bool on) {
        if (on == enabled_) return;
        enabled_ = on;
        notify();
    }
    // Called by the driver when the interval has passed.
    void fire() {
        if (enabled_ && onTimer) onTimer();
    }
    void setDriver(TimerDriver* driver) {
        if (driver_ == driver) return;
        TimerDriver* old = driver_;
        driver_ = driver;
        if (old) old->timerChanged(*this);  // lets the old driver forget it
        notify();
    }
    TimerDriver* driver() const { return driver_; }

    std::function<void()> onTimer;

  private:
    void notify() {
        if (driver_) driver_->timerChanged(*this);
    }

    std::string name_;
    int interval_;
    bool enabled_;
    TimerDriver* driver_ = nullptr;
};

}  // namespace ui
