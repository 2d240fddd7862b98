#include "macros/recorder.h"

#include "macros/input_capture.h"

#include <gtest/gtest.h>

namespace macros {
namespace {

using Lines = std::vector<std::string>;
constexpr int kA = 0x41, kB = 0x42, kCtrl = 0x11;

struct Recording : ::testing::Test {
    Recorder recorder;
    KeyboardHook hook;
    Lines lines;
    DelayOptions options;
    std::uint32_t now = 1000;
    bool key(int vk, bool down) {
        return recorder.keyboard(lines, vk, hook.feed(down), now, options);
    }
    void SetUp() override { recorder.startNormal(lines); }
};

TEST_F(Recording, RecordedDelaysBetweenEvents) {
    key(kA, true);
    now += 300;
    key(kA, false);
    EXPECT_EQ(lines, (Lines{"10", "1 A CODE:8204", "0 300", "2 A CODE:0204"}));
}

TEST_F(Recording, AutoRepeatGivesOnePressAndOverlappingKeysKeepTheirOrder) {
    key(kA, true);
    key(kA, true);
    key(kA, true);
    now += 10;
    key(kB, true);
    now += 10;
    key(kB, false);
    now += 10;
    key(kA, false);
    EXPECT_EQ(lines, (Lines{"10", "1 A CODE:8204", "0 10", "1 B CODE:8205", "0 10", "2 B CODE:0205",
                            "0 10", "2 A CODE:0204"}));
}

TEST_F(Recording, DefaultAndNoDelay) {
    options = {DelayMode::Default, 50, "50"};
    recorder.startNormal(lines);
    key(kCtrl, true);
    now += 999;
    key(kCtrl, false);
    EXPECT_EQ(lines, (Lines{"0150", "1 Ctrl CODE:8101", "0 50", "2 Ctrl CODE:0101"}));
    options = {DelayMode::None, 50, "50"};
    recorder.startNormal(lines);
    key(kA, true);
    now += 5;
    key(kA, false);
    EXPECT_EQ(lines, (Lines{"00", "1 A CODE:8204", "2 A CODE:0204"}));
}

TEST_F(Recording, LongPausesAreCappedAndMouseLinesAreNotCounted) {
    recorder.mouse(lines, MouseButton::Left, true, now, options);
    now += 70000;
    recorder.mouse(lines, MouseButton::Left, false, now, options);
    EXPECT_EQ(lines, (Lines{"10", "1 LeftKey CODE:00A1", "0 65535", "2 LeftKey CODE:0021"}));
    EXPECT_EQ(recorder.pressCount(), 0);
}

TEST_F(Recording, TheHundredthReleaseStopsAndLaterPressesAreRefused) {
    for (int i = 0; i < 100; ++i) {
        EXPECT_FALSE(key(kA, true));
        const bool stop = key(kA, false);
        EXPECT_EQ(stop, i == 99) << i;
    }
    EXPECT_EQ(recorder.pressCount(), 100);
    EXPECT_EQ(recorder.releaseCount(), 100);
}

TEST_F(Recording, ThePressLimitRefusesTheHundredAndFirstPress) {
    for (int i = 0; i < 100; ++i) key(0x30 + (i % 10), true);  // 100 presses, none released
    const std::size_t before = lines.size();
    key(kB, true);
    EXPECT_EQ(lines.size(), before) << "the 101st press leaves no line";
    key(kB, false);
    EXPECT_EQ(lines.size(), before) << "nor does the release of the refused key";
    key(0x31, false);
    EXPECT_EQ(lines.back(), "2 1 CODE:021E") << "a release of another key is still recorded";
}

TEST_F(Recording, InsertsInFrontOfOrBehindTheSelectedEvent) {
    lines = {"10", "1 A CODE:8204", "2 A CODE:0204"};
    recorder.startInsert(0, true, 1, 1);
    recorder.keyboard(lines, kB, hook.feed(true), now, options);
    now += 20;
    recorder.keyboard(lines, kB, hook.feed(false), now, options);
    EXPECT_EQ(lines, (Lines{"10", "1 B CODE:8205", "0 20", "2 B CODE:0205", "1 A CODE:8204",
                            "2 A CODE:0204"}));
    EXPECT_EQ(recorder.insertPressCount(), 2);
    recorder.startInsert(4, false, 2, 2);  // behind the release of A (item 4)
    recorder.mouse(lines, MouseButton::Right, true, now, options);
    EXPECT_EQ(lines.back(), "1 RightKey CODE:00A2");
    EXPECT_EQ(recorder.selectedItem(lines), 5);
}

TEST(KeyboardHook, OneCounterForAllKeys) {
    KeyboardHook hook;
    EXPECT_EQ(hook.feed(true), KeyState::On);
    EXPECT_EQ(hook.feed(true), KeyState::Repeat);
    EXPECT_EQ(hook.feed(false), KeyState::Off);
    EXPECT_EQ(hook.feed(true), KeyState::On);
}

// Under Wayland a system-wide capture would hear only X clients, so none is made.
TEST(WaylandSession, IsToldBySessionTypeOrDisplay) {
    const struct {
        const char* type;
        const char* display;
        bool wayland;
    } cases[] = {{"wayland", "", true},      {"x11", "", false}, {"", "wayland-0", true},
                 {"x11", "wayland-1", true}, {"tty", "", false}, {"", "", false}};
    for (const auto& c : cases)
        EXPECT_EQ(waylandSession(c.type, c.display), c.wayland) << c.type << " " << c.display;
}

}  // namespace
}  // namespace macros
