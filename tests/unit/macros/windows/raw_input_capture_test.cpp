// The system-wide capture of recordings on Windows: synthesized keys and buttons reach the
// handlers from the capture's own thread, and stop() ends the delivery.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "macros/input_capture.h"

namespace macros {
namespace {

void send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT key(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
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

TEST(RawInputCapture, KeysAndButtonsArriveUntilStopped) {
    auto capture = makeSystemInputCapture();
    ASSERT_TRUE(capture);
    std::mutex mutex;
    std::vector<std::string> events;
    InputCapture::Handlers handlers;
    handlers.key = [&](int vk, bool down) {
        std::lock_guard lock(mutex);
        events.push_back("key " + std::to_string(vk) + (down ? " down" : " up"));
    };
    handlers.mouse = [&](MouseButton b, bool down) {
        std::lock_guard lock(mutex);
        events.push_back("button " + std::to_string(static_cast<int>(b)) +
                         (down ? " down" : " up"));
    };
    if (!capture->start(handlers)) GTEST_SKIP() << "no raw input or low-level hooks here";
    send({key('A', true), key('A', false), button(MOUSEEVENTF_RIGHTDOWN),
          button(MOUSEEVENTF_RIGHTUP), button(MOUSEEVENTF_XDOWN, XBUTTON1)});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        {
            std::lock_guard lock(mutex);
            if (events.size() >= 5) break;
        }
        if (std::chrono::steady_clock::now() > deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    capture->stop();
    {
        std::lock_guard lock(mutex);
        const auto has = [&](const std::string& e) {
            return std::find(events.begin(), events.end(), e) != events.end();
        };
        EXPECT_TRUE(has("key 65 down")) << events.size();
        EXPECT_TRUE(has("key 65 up"));
        EXPECT_TRUE(
            has("button " + std::to_string(static_cast<int>(MouseButton::Right)) + " down"));
        EXPECT_TRUE(
            has("button " + std::to_string(static_cast<int>(MouseButton::Backward)) + " down"));
        events.clear();
    }
    send({key('B', true), key('B', false), button(MOUSEEVENTF_XUP, XBUTTON1)});
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::lock_guard lock(mutex);
    EXPECT_TRUE(events.empty()) << "nothing after stop()";
}

}  // namespace
}  // namespace macros
