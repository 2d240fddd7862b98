#pragma once
// ui::Host on Qt: the event loop, QTimers for the model's timers, message boxes and file
// dialogs, one FormView per form, the tray icon and the desktop shell.
#include <QElapsedTimer>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "qt/form_view.h"
#include "ui/host.h"

class QIcon;
class QSystemTrayIcon;
class QTimer;

namespace qtui {

// A built-in picture (its 1x and 2x sets) as an icon for the window, the task bar or the tray.
QIcon pictureIcon(const std::string& pictureName);

class QtHost : public ui::Host {
  public:
    QtHost();
    ~QtHost() override;

    // The main window's form: its view is the parent of dialogs and the one that moves.
    void setMainForm(ui::Form& form, std::function<bool()> closeRequest);
    FormView* viewOf(ui::Form& form);
    // Restores and raises the main window (a second start asked for it).
    void raiseMainWindow();
    // Brings every view up to date with its form.
    void syncAll();
    // The main window's view has painted for the first time: what waited for it runs now.
    void firstPaintDone();

    void processMessages() override;
    void sleep(int milliseconds) override;
    std::uint64_t tickCount() override;
    void timerChanged(ui::Timer& timer) override;
    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    std::optional<std::string> openFileName(const ui::FileDialog& dialog) override;
    std::optional<std::string> saveFileName(const ui::FileDialog& dialog) override;
    void showForm(ui::Form& form) override;
    void hideForm(ui::Form& form) override;
    void repaint(ui::Form& form) override;
    void closeMainWindow() override;
    void openUrl(const std::string& url) override;
    ui::Size screenSize() override;
    void startWindowMove() override;
    void setTrayIcon(const std::string& pictureName) override;
    void setApplicationTitle(const std::string& title) override;
    std::string applicationTitle() const override { return title_; }
    void post(std::function<void()> task) override;
    void afterFirstPaint(std::function<void()> task) override;
    bool deliversWindowInput() const override { return true; }

  private:
    FormView& ensureView(ui::Form& form);

    ui::Form* main_ = nullptr;
    std::function<bool()> closeRequest_;
    std::map<ui::Form*, std::unique_ptr<FormView>> views_;
    std::map<ui::Timer*, std::unique_ptr<QTimer>> timers_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    // Tasks waiting for the first paint; empty (and not collected) once it has happened.
    std::vector<std::function<void()>> afterFirstPaint_;
    bool painted_ = false;
    QElapsedTimer clock_;
    std::string title_ = "Gaming Mouse";
};

}  // namespace qtui
