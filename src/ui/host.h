#pragma once
// Everything outside the window model: the message queue, time, timers, dialogs, other
// windows, the desktop shell. The Qt host implements it; tests use a fake on virtual time.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/geometry.h"
#include "ui/timer.h"

namespace ui {

class Form;

struct FileDialog {
    std::string filter;               // e.g. "Profile files (*.bin)"
    std::string defaultExtension;     // without the dot
    std::string folder;               // where it opens; empty: the user's documents folder
    std::vector<std::string> places;  // folders offered beside the host's own places
};

class Host : public TimerDriver {
  public:
    ~Host() override = default;

    // Runs the message queue once: pending input and paints.
    virtual void processMessages() = 0;
    virtual void sleep(int milliseconds) = 0;
    virtual std::uint64_t tickCount() = 0;

    // Starts driving the timer (the host follows its interval and enabled state).
    void attachTimer(Timer& timer) { timer.setDriver(this); }

    // A message box with the application title, the text, an OK button and no icon.
    virtual void showMessage(const std::string& text) = 0;
    // The one yes/no question; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
    virtual std::optional<std::string> openFileName(const FileDialog& dialog) = 0;
    virtual std::optional<std::string> saveFileName(const FileDialog& dialog) = 0;

    // Shows or hides a form's window (the main window, the wait window, dialogs).
    virtual void showForm(Form& form) = 0;
    virtual void hideForm(Form& form) = 0;
    // Repaints what changed in the form now.
    virtual void repaint(Form& form) = 0;
    virtual void closeMainWindow() = 0;

    virtual void openUrl(const std::string& url) = 0;
    virtual Size screenSize() = 0;
    // Lets the desktop move the main window with the pointer (the borderless window's drag).
    virtual void startWindowMove() = 0;
    virtual void setTrayIcon(const std::string& pictureName) = 0;
    virtual void setApplicationTitle(const std::string& title) = 0;
    virtual std::string applicationTitle() const = 0;
    // Runs the task on the UI thread; safe from any thread.
    virtual void post(std::function<void()> task) = 0;
    // Runs the task once the main window has been painted for the first time: for start-up work
    // the first look does not need. Hosts without a first paint to wait for just post it.
    virtual void afterFirstPaint(std::function<void()> task) { post(std::move(task)); }
    // Whether the host hands every key and mouse button of its windows to Form::windowKey and
    // Form::windowButton (what recording falls back to without system-wide input).
    virtual bool deliversWindowInput() const { return false; }
};

}  // namespace ui
