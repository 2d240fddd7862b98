#include "fake_host.h"

#include <utility>

#include <algorithm>

namespace testing_support {

FakeHost::~FakeHost() {
    const auto timers = timers_;
    for (const Due& d : timers) d.timer->setDriver(nullptr);
}

void FakeHost::timerChanged(ui::Timer& timer) {
    std::erase_if(timers_, [&](const Due& d) { return d.timer == &timer; });
    if (timer.driver() == this && timer.enabled())
        timers_.push_back({&timer, now_ + period(timer)});
}

void FakeHost::advance(int milliseconds) {
    const std::uint64_t end = now_ + static_cast<std::uint64_t>(milliseconds);
    for (auto tasks = std::exchange(afterPaint_, {}); auto& task : tasks) task();
    for (;;) {
        const auto next = std::min_element(timers_.begin(), timers_.end(),
                                           [](const Due& a, const Due& b) { return a.at < b.at; });
        if (next == timers_.end() || next->at > end) break;
        now_ = next->at;
        ui::Timer* timer = next->timer;
        next->at += period(*timer);
        timer->fire();
    }
    now_ = std::max(now_, end);  // sleeps inside a handler may have moved time on
}

void FakeHost::sleep(int milliseconds) {
    sleeps.push_back(milliseconds);
    now_ += static_cast<std::uint64_t>(milliseconds);
}

bool FakeHost::askYesNo(const std::string& text) {
    questions.push_back(text);
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<std::string> FakeHost::next(std::deque<std::optional<std::string>>& q) {
    if (q.empty()) return std::nullopt;
    auto v = q.front();
    q.pop_front();
    return v;
}

}  // namespace testing_support
