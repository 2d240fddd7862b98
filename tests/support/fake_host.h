#pragma once
// A host on virtual time for tests: timers fire in order as time advances, message boxes are
// recorded (and answered from a script), file dialogs return scripted names.
#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/host.h"

namespace testing_support {

class FakeHost : public ui::Host {
  public:
    ~FakeHost() override;

    // Moves virtual time on, firing every timer that falls due, earliest first.
    void advance(int milliseconds);
    std::uint64_t now() const { return now_; }

    void processMessages() override {
        ++queueRuns;
        if (onProcessMessages) onProcessMessages();
    }
    void sleep(int milliseconds) override;
    std::uint64_t tickCount() override { return now_; }
    void timerChanged(ui::Timer& timer) override;
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& text) override;
    std::optional<std::string> openFileName(const ui::FileDialog& dialog) override {
        fileDialogs.push_back(dialog);
        if (whileDialogOpen) whileDialogOpen();
        return next(openNames);
    }
    std::optional<std::string> saveFileName(const ui::FileDialog& dialog) override {
        fileDialogs.push_back(dialog);
        if (whileDialogOpen) whileDialogOpen();
        return next(saveNames);
    }
    void showForm(ui::Form& form) override { shown[&form] = true; }
    void hideForm(ui::Form& form) override { shown[&form] = false; }
    void repaint(ui::Form&) override { ++repaints; }
    void closeMainWindow() override { ++closeRequests; }
    void openUrl(const std::string& url) override { urls.push_back(url); }
    ui::Size screenSize() override { return screen; }
    void startWindowMove() override { ++windowMoves; }
    void setTrayIcon(const std::string& picture) override { trayIcon = picture; }
    void setApplicationTitle(const std::string& t) override { titles.push_back(t); }
    std::string applicationTitle() const override { return titles.empty() ? "" : titles.back(); }
    void post(std::function<void()> task) override { task(); }
    // The window counts as painted once time first moves on: start-up states stay observable.
    void afterFirstPaint(std::function<void()> task) override {
        afterPaint_.push_back(std::move(task));
    }
    bool deliversWindowInput() const override { return windowInput; }
    bool windowInput = true;

    // Runs at every queue run: what the user does while an operation pumps the queue.
    std::function<void()> onProcessMessages;
    // Runs while a file dialog is open, before it returns: what happens meanwhile (a poll
    // noticing an unplugged mouse, ...).
    std::function<void()> whileDialogOpen;
    int queueRuns = 0;
    int repaints = 0;
    int closeRequests = 0;
    int windowMoves = 0;
    std::vector<int> sleeps;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<bool> answers;  // for askYesNo; "No" when empty
    std::deque<std::optional<std::string>> openNames, saveNames;
    std::vector<ui::FileDialog> fileDialogs;  // every file dialog asked for, in order
    std::vector<std::string> urls;
    std::vector<std::string> titles;
    std::string trayIcon;
    std::map<ui::Form*, bool> shown;
    ui::Size screen{1920, 1080};

  private:
    // A timer of interval 0 runs whenever the queue is idle: here, every millisecond.
    static std::uint64_t period(const ui::Timer& timer) {
        return static_cast<std::uint64_t>(std::max(1, timer.interval()));
    }
    std::vector<std::function<void()>> afterPaint_;
    static std::optional<std::string> next(std::deque<std::optional<std::string>>& q);
    struct Due {
        ui::Timer* timer;
        std::uint64_t at;
    };
    std::uint64_t now_ = 0;
    std::vector<Due> timers_;
};

}  // namespace testing_support
