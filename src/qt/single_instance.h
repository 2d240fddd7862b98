#pragma once
// One editor at a time: a second start finds the first through a local socket named after the
// window caption, asks it to come forward, and ends.
#include <QLocalServer>

#include <functional>
#include <memory>

namespace qtui {

class SingleInstance {
  public:
    explicit SingleInstance(const QString& caption);
    // True when another instance answered; it has been asked to come forward.
    bool otherInstanceRaised() const { return raised_; }
    // Runs when a later start asks this instance to come forward.
    void onRaiseRequest(std::function<void()> handler) { handler_ = std::move(handler); }

    static QString serverName(const QString& caption);

  private:
    bool raised_ = false;
    std::unique_ptr<QLocalServer> server_;
    std::function<void()> handler_;
};

}  // namespace qtui
