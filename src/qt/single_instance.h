#pragma once
// One editor at a time: a second start finds the first through a local socket named after the
// window caption, asks it to come forward, and ends.
#include <QString>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace qtui {

class SingleInstance {
  public:
    explicit SingleInstance(const QString& caption);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when another instance answered; it has been asked to come forward.
    bool otherInstanceRaised() const { return raised_; }
    // Runs when a later start asks this instance to come forward.
    void onRaiseRequest(std::function<void()> handler) { handler_ = std::move(handler); }

    static QString serverName(const QString& caption);

  private:
    void answerRequests();

    bool raised_ = false;
    int listener_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> handler_;
};

}  // namespace qtui
