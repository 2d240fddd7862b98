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

#include "ui/host.h"
#include "win32/form_window.h"

namespace win32ui {

class Win32Host : public ui::Host {
  public:
    explicit Win32Host(HINSTANCE instance);
    ~Win32Host() override;

    // The main window closes only when `closeRequest` agrees.
    void setMainForm(ui::Form& form, std::function<bool()> closeRequest);
    HWND mainWindow() const;
    bool closeRequested() { return !closeRequest_ || closeRequest_(); }
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
    void setApplicationTitle(const std::string& title) override { title_ = title; }
    std::string applicationTitle() const override { return title_; }
    void post(std::function<void()> task) override;

  private:
    static LRESULT CALLBACK messageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    FormWindow& ensureWindow(ui::Form& form);
    FormWindow* windowOf(ui::Form& form);
    void dispatch(const MSG& message);
    void runPosted();
    std::optional<std::string> fileDialog(const ui::FileDialog& dialog, bool save);

    HINSTANCE instance_;
    HWND messages_ = nullptr;  // message-only window: timers and posted tasks
    ui::Form* main_ = nullptr;
    std::function<bool()> closeRequest_;
    std::map<ui::Form*, std::unique_ptr<FormWindow>> windows_;
    std::map<UINT_PTR, ui::Timer*> timers_;
    std::map<ui::Timer*, UINT_PTR> timerIds_;
    UINT_PTR nextTimerId_ = 1;
    std::mutex postedMutex_;
    std::deque<std::function<void()>> posted_;
    std::string title_;
    NOTIFYICONDATAW tray_{};
    HICON trayIcon_ = nullptr;
    bool quitting_ = false;
};

}  // namespace win32ui
