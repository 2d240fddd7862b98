#pragma once
// The Windows host: one window per form, timers, message boxes, file dialogs, the
// notification-area icon, the move command for dragging and tasks posted to the UI thread.
#include <windows.h>
// windows.h first: the shell's header builds on it.
#include <shellapi.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "ui/host.h"
#include "win32/form_window.h"

namespace win32ui {

// How the main window closes. `request` is the window's own close (Exit, Confirm, the close
// command), which may be held while a transfer runs. The end of the user's session is only
// asked about first (`mayClose`, no side effects: the user may still cancel the logoff) and
// does the closing work (`close`) once it really ends.
struct MainWindowClosing {
    std::function<bool()> request;
    std::function<bool()> mayClose;
    std::function<void()> close;
    // Why the session's end has to wait, for the system to show.
    std::function<std::string()> waitReason;
};

class Win32Host : public ui::Host {
  public:
    explicit Win32Host(HINSTANCE instance);
    ~Win32Host() override;

    void setMainForm(ui::Form& form, MainWindowClosing closing);
    HWND mainWindow() const;
    // The window the taskbar shows for the program, captioned with the application title; it
    // owns the main window, whose own caption the single-instance probe looks for.
    HWND taskbarWindow() const { return taskbar_; }
    bool closeRequested() { return !closing_.request || closing_.request(); }
    // The main window's share of messages about its life: the session's end, minimising.
    // False for messages left to the window.
    bool mainWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void syncAll();
    // Runs the message loop until the main window is gone; the program's exit code.
    int run();

    // ui::Host
    void processMessages() override;
    void sleep(int milliseconds) override;
    std::uint64_t tickCount() override { return GetTickCount64(); }
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
    // The main window has painted: the work held for its first paint is posted.
    void mainWindowPainted();

  private:
    // An enabled timer of interval 0, which the main loop runs when the queue is empty.
    ui::Timer* idleTimer() const;
    static LRESULT CALLBACK messageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK taskbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool mayClose() const { return !closing_.mayClose || closing_.mayClose(); }
    // Once the transfer that held a session's end is over, the system hears no more of it.
    void releaseSessionEnd();
    void removeTrayIcon();
    FormWindow& ensureWindow(ui::Form& form);
    FormWindow* windowOf(ui::Form& form);
    void dispatch(const MSG& message);
    void runPosted();
    std::optional<std::string> fileDialog(const ui::FileDialog& dialog, bool save);

    HINSTANCE instance_;
    HWND messages_ = nullptr;  // message-only window: timers and posted tasks
    ui::Form* main_ = nullptr;
    HWND taskbar_ = nullptr;
    MainWindowClosing closing_;
    bool sessionEndHeld_ = false;
    std::map<ui::Form*, std::unique_ptr<FormWindow>> windows_;
    std::map<UINT_PTR, ui::Timer*> timers_;
    std::map<ui::Timer*, UINT_PTR> timerIds_;
    UINT_PTR nextTimerId_ = 1;
    std::mutex postedMutex_;
    std::deque<std::function<void()>> posted_;
    bool painted_ = false;
    std::vector<std::function<void()>> afterFirstPaint_;
    std::string title_;
    NOTIFYICONDATAW tray_{};
    HICON trayIcon_ = nullptr;
    bool quitting_ = false;
};

}  // namespace win32ui
