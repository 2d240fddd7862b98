// The real editor under Xvfb, talking through the hidraw backend to quorvex-mouse-sim.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "desktop.h"
#include "image/builtin_image.h"
#include "image/check_byte.h"
#include "image/sections.h"
#include "mounted_sim.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

// Places in the window that tell the pages apart (our own pictures).
constexpr int kMouseLogoX = 195 + 236, kMouseLogoY = 104 + 250 - 13;  // red ring on the mouse
constexpr int kAdvancedTickX = 88 + 37, kAdvancedTickY = 144 + 20;    // red tick of "Pointer speed"

std::string artifact(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(QUORVEX_ARTIFACT_DIR);
    std::filesystem::create_directories(dir);
    return (dir / (name + ".png")).string();
}

// Polls a condition for up to `limit`.
template <typename F>
bool eventually(F condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(100ms);
    }
    return condition();
}

// The desktop file's StartupWMClass, read from the file that is installed.
std::string startupWmClass() {
    std::ifstream in(QUORVEX_DESKTOP_FILE);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("StartupWMClass=")) return line.substr(line.find('=') + 1);
    }
    return {};
}

// The task bar and the application menu know the window: it carries its icon, and its class is
// the one the desktop file names.
TEST(EditorEndToEnd, WindowCarriesItsIconAndTheDesktopFilesClass) {
    if (!haveProgram("xprop")) GTEST_SKIP() << "xprop is missing (x11-utils)";
    VirtualDisplay display;
    ASSERT_EQ(display.error(), "");
    if (!display.running()) GTEST_SKIP() << display.skipReason();
    Editor editor(display, {{"QUORVEX_SIMULATED_MOUSE", "macro"}});
    ASSERT_TRUE(editor.waitForWindow(15)) << "the editor's window never showed";

    const std::map<std::string, std::string> env{{"DISPLAY", display.name()}};
    // The first icon's width and height, as numbers rather than xprop's picture of it.
    const std::string icon = runCommand({"xprop", "-id", editor.windowId(), "-f", "_NET_WM_ICON",
                                         "32c", "-len", "16", "_NET_WM_ICON"},
                                        nullptr, env);
    EXPECT_NE(icon.find("_NET_WM_ICON(CARDINAL) = 64, 64"), std::string::npos) << icon;
    const std::string wmClass = startupWmClass();
    ASSERT_FALSE(wmClass.empty()) << QUORVEX_DESKTOP_FILE << " names no StartupWMClass";
    const std::string classes =
        runCommand({"xprop", "-id", editor.windowId(), "WM_CLASS"}, nullptr, env);
    EXPECT_NE(classes.find(", \"" + wmClass + "\""), std::string::npos) << classes;
}

TEST(EditorEndToEnd, DetectsNavigatesWritesAndLosesTheMouse) {
    MountedSim sim({"--extra-device", "046d:c31c"});
    if (!sim.running()) GTEST_SKIP() << sim.skipReason();
    VirtualDisplay display;
    ASSERT_EQ(display.error(), "");
    if (!display.running()) GTEST_SKIP() << display.skipReason();

    Editor editor(display, {{"QUORVEX_HIDRAW_DIR", sim.dir()}});
    ASSERT_TRUE(editor.waitForWindow(15)) << "the editor's window never showed";

    // Detection: 3.5 s to the first tick, 2 s of waiting, then the full read (4,890 fetches).
    ASSERT_TRUE(eventually([&] { return sim.counter("data_out") >= 4890 + 5; }, 20s))
        << sim.status();
    std::this_thread::sleep_for(500ms);
    skin::Picture shot = editor.screenshot(artifact("e2e-mouse-keys"));
    ASSERT_EQ(shot.width, 800);
    EXPECT_TRUE(isRed(pixel(shot, kMouseLogoX, kMouseLogoY))) << "the Mouse Keys Page is up";

    editor.click(341 + 44, 484 + 18);  // Btn_Adv
    shot = editor.screenshot(artifact("e2e-advanced"));
    EXPECT_TRUE(isRed(pixel(shot, kAdvancedTickX, kAdvancedTickY))) << "the Advanced Page is up";
    EXPECT_FALSE(isRed(pixel(shot, kMouseLogoX, kMouseLogoY)));

    editor.click(71 + 44, 484 + 18);  // Btn_Main
    shot = editor.screenshot();
    EXPECT_TRUE(isRed(pixel(shot, kMouseLogoX, kMouseLogoY))) << "back on the Mouse Keys Page";

    // Apply writes the image; the page selector (Main Control) becomes the current profile.
    editor.click(10 + 33, 160 + 15);  // Btn_Apply
    ASSERT_TRUE(eventually([&] { return sim.counter("reloads") == 1; }, 10s)) << sim.status();
    EXPECT_EQ(sim.counter("erases"), 2) << "the image's sector and the section copies' sector";
    const auto memory = sim.memory();
    ASSERT_EQ(memory.size(), 0x10000u);
    image::SectionBuf written{};
    std::copy_n(memory.begin() + 0x6000, image::kSectionBufSize, written.begin());
    EXPECT_EQ(written[29], 0x00) << "profile 1, as Main Control was selected";
    for (const image::Section& s :
         {image::kParameterA, image::kParameterB, image::kFireKey, image::kProfile}) {
        EXPECT_TRUE(image::hasValidCheckByte(written, s)) << s.offset;
    }
    image::DataBuf builtIn;
    ASSERT_TRUE(image::LoadBuiltInImage(builtIn));
    EXPECT_TRUE(std::equal(builtIn.image.begin() + 110, builtIn.image.begin() + 254,
                           memory.begin() + 0x6000 + 110))
        << "the key codes went back as read";
    EXPECT_EQ(memory[0x60FF], 0xFF);

    // A second start finds the first and ends without a window of its own.
    Editor second(display, {{"QUORVEX_HIDRAW_DIR", sim.dir()}});
    ASSERT_TRUE(second.waitForExit(10)) << "the second instance kept running";
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(editor.windowsWithCaption(), 1);

    // Unplugging the mouse brings "No Device Found" at the next poll.
    ASSERT_TRUE(sim.control("unplug"));
    ASSERT_TRUE(eventually(
        [&] {
            shot = editor.screenshot();
            return !isRed(pixel(shot, kMouseLogoX, kMouseLogoY)) &&
                   hasWhiteIn(shot, 94, 254, 80, 36);
        },
        10s))
        << "no no-device page";
    editor.screenshot(artifact("e2e-no-device"));

    editor.click(10 + 33, 240 + 15);  // Btn_Exit
    ASSERT_TRUE(editor.waitForExit(10));
    EXPECT_EQ(editor.exitCode(), 0);
}

// Qt warns when its application object is made off the thread it took for the main one; the
// start-up decodes pictures on a second thread, which must not be taken for it.
TEST(EditorEndToEnd, NeitherStartWarnsOfTheMainThread) {
    VirtualDisplay display;
    ASSERT_EQ(display.error(), "");
    if (!display.running()) GTEST_SKIP() << display.skipReason();
    Editor first(display, {{"QUORVEX_SIMULATED_MOUSE", "macro"}});
    ASSERT_TRUE(first.waitForWindow(15)) << first.errorOutput();
    Editor second(display, {{"QUORVEX_SIMULATED_MOUSE", "macro"}});
    ASSERT_TRUE(second.waitForExit(10)) << "the second instance kept running";
    for (const Editor* editor : {&first, &second})
        EXPECT_EQ(editor->errorOutput().find("main() thread"), std::string::npos)
            << editor->errorOutput();
}

}  // namespace
}  // namespace e2e
