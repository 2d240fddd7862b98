// System-wide input for recordings: XInput2 raw events on a virtual display, driven by xdotool.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "desktop.h"
#include "macros/input_capture.h"

namespace e2e {
namespace {

TEST(InputCapture, KeysAndButtonsOfAnyWindowArrive) {
    VirtualDisplay display;
    ASSERT_EQ(display.error(), "");
    if (!display.running()) GTEST_SKIP() << display.skipReason();
    ::setenv("DISPLAY", display.name().c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");  // an X session, whatever runs the test
    ::unsetenv("XDG_SESSION_TYPE");
    auto capture = macros::makeSystemInputCapture();
    ASSERT_TRUE(capture);
    std::mutex m;
    std::vector<std::string> events;
    ASSERT_TRUE(capture->start(
        {[&](int vk, bool down) {
             std::lock_guard lock(m);
             events.push_back("key " + std::to_string(vk) + (down ? " down" : " up"));
         },
         [&](macros::MouseButton b, bool down) {
             std::lock_guard lock(m);
             events.push_back("button " + std::to_string(static_cast<int>(b)) +
                              (down ? " down" : " up"));
         },
         nullptr}));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    runCommand({"xdotool", "key", "a"}, nullptr, {{"DISPLAY", display.name()}});
    runCommand({"xdotool", "click", "3"}, nullptr, {{"DISPLAY", display.name()}});
    runCommand({"xdotool", "keydown", "shift", "keyup", "shift"}, nullptr,
               {{"DISPLAY", display.name()}});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        {
            std::lock_guard lock(m);
            if (events.size() >= 6 || std::chrono::steady_clock::now() > deadline) break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    capture->stop();
    std::lock_guard lock(m);
    ASSERT_GE(events.size(), 6u);
    EXPECT_EQ(events[0], "key 65 down");
    EXPECT_EQ(events[1], "key 65 up");
    EXPECT_EQ(events[2], "button 1 down") << "the right button";
    EXPECT_EQ(events[3], "button 1 up") << "also while the press holds its implicit grab";
    EXPECT_EQ(events[4], "key 16 down") << "either Shift is the generic Shift";
}

}  // namespace
}  // namespace e2e
