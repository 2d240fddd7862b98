// The system-wide capture of recordings on Windows: synthesized keys and buttons reach the
// handlers from the capture's own thread, which runs at normal priority; stop() ends the
// delivery, and a hook the system took away is noticed, told once and replaced.
#include "macros/windows/raw_input_capture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace macros {
namespace {

void send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT key(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    // A keyboard sends the key's position too, which is what the capture records.
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    return in;
}

INPUT button(DWORD flags, DWORD data = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    return in;
}

std::string buttonEvent(MouseButton b, bool down) {
    return "button " + std::to_string(static_cast<int>(b)) + (down ? " down" : " up");
}

struct RawInputCapture : ::testing::Test {
    std::unique_ptr<InputCapture> capture = makeSystemInputCapture();
    std::mutex mutex;
    std::vector<std::string> events;
    std::vector<int> priorities;  // of the threads the handlers ran on
    int lost = 0;

    void SetUp() override {
        ASSERT_TRUE(capture);
        InputCapture::Handlers handlers;
        handlers.key = [this](int vk, bool down) {
            note("key " + std::to_string(vk) + (down ? " down" : " up"));
        };
        handlers.mouse = [this](MouseButton b, bool down) { note(buttonEvent(b, down)); };
        handlers.inputLost = [this] {
            std::lock_guard lock(mutex);
            ++lost;
        };
        if (!capture->start(handlers)) GTEST_SKIP() << "no raw input or low-level hooks here";
    }
    void note(std::string event) {
        std::lock_guard lock(mutex);
        events.push_back(std::move(event));
        priorities.push_back(GetThreadPriority(GetCurrentThread()));
    }
    // Waits until `what` holds (up to 5 s); the lock is held when it returns.
    template <typename Condition>
    std::unique_lock<std::mutex> waitFor(Condition what) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (;;) {
            std::unique_lock lock(mutex);
            if (what() || std::chrono::steady_clock::now() > deadline) return lock;
            lock.unlock();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    bool has(const std::string& e) {
        return std::find(events.begin(), events.end(), e) != events.end();
    }
};

TEST_F(RawInputCapture, KeysAndButtonsArriveAtNormalPriorityUntilStopped) {
    send({key('A', true), key('A', false), button(MOUSEEVENTF_RIGHTDOWN),
          button(MOUSEEVENTF_RIGHTUP), button(MOUSEEVENTF_XDOWN, XBUTTON1)});
    {
        auto lock = waitFor([&] { return events.size() >= 5; });
        EXPECT_TRUE(has("key 65 down")) << events.size();
        EXPECT_TRUE(has("key 65 up"));
        EXPECT_TRUE(has(buttonEvent(MouseButton::Right, true)));
        EXPECT_TRUE(has(buttonEvent(MouseButton::Backward, true)));
        // A lower priority would hold up every mouse event of the system under load.
        EXPECT_EQ(std::count(priorities.begin(), priorities.end(), THREAD_PRIORITY_NORMAL),
                  static_cast<long>(priorities.size()));
        EXPECT_EQ(lost, 0) << "nothing was missed";
        events.clear();
    }
    capture->stop();
    send({key('B', true), key('B', false), button(MOUSEEVENTF_XUP, XBUTTON1)});
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::lock_guard lock(mutex);
    EXPECT_TRUE(events.empty()) << "nothing after stop()";
}

TEST_F(RawInputCapture, AHookTheSystemRemovedIsToldOnceAndReplaced) {
    for (int removal = 1; removal <= 2; ++removal) {
        SCOPED_TRACE("removal " + std::to_string(removal));
        removeMouseHookUnnoticed(*capture);
        // Only raw input hears this click, which tells that the hook is gone; the key after it
        // shows when raw input got that far.
        send({button(MOUSEEVENTF_MIDDLEDOWN), button(MOUSEEVENTF_MIDDLEUP), key('C', true),
              key('C', false)});
        {
            auto lock = waitFor([&] { return has("key 67 up"); });
            EXPECT_EQ(lost, 1) << "told once, however often it happens";
            EXPECT_FALSE(has(buttonEvent(MouseButton::Middle, true)));
        }
        // The next click reaches the recording through the new hook.
        send({button(MOUSEEVENTF_RIGHTDOWN), button(MOUSEEVENTF_RIGHTUP)});
        auto lock = waitFor([&] { return has(buttonEvent(MouseButton::Right, false)); });
        EXPECT_TRUE(has(buttonEvent(MouseButton::Right, true)));
        EXPECT_TRUE(has(buttonEvent(MouseButton::Right, false)));
        events.clear();
    }
}

}  // namespace
}  // namespace macros
