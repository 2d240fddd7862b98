// Keys by their position on French and German layouts: the combination dialog in the Qt host
// and a system-wide recording, on a virtual display whose layout setxkbmap sets and whose keys
// xdotool presses by their names on that layout.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>

#include <chrono>
#include <mutex>
#include <thread>

#include "app/combination_dialog.h"
#include "app/main_form.h"
#include "desktop.h"
#include "fake_host.h"
#include "keys/linux/xkb_key_namer.h"
#include "macros/input_capture.h"
#include "qt/form_view.h"
#include "qt/qt_host.h"
#include "sim/sim_presets.h"

namespace e2e {
namespace {

struct LayoutCase {
    const char* layout;
    std::vector<std::string> keys;  // xdotool key names on that layout
    const char* label;              // the dialog's field after them
    const char* code;
};

// US "1", "Q" and ";" positions; the ISO key; AltGr alone, with a character, and refused.
const LayoutCase kDialogCases[] = {
    {"us", {"1"}, "1", "02001E00"},
    {"fr", {"ampersand"}, "&", "02001E00"},
    {"fr", {"a"}, "A", "02001400"},
    {"fr", {"ISO_Level3_Shift", "a"}, "A", "02001400"},
    {"fr", {"dead_circumflex"}, "^", "02002F00"},  // a dead key types nothing yet has its position
    {"de", {"odiaeresis"}, "\xC3\x96", "02003300"},
    {"de", {"less"}, "<", "02006400"},
    {"de", {"at"}, "Q", "02001400"},  // AltGr+Q: the code of its position
    {"de", {"ISO_Level3_Shift", "Shift_R", "Control_R", "odiaeresis"}, "\xC3\x96", "02003300"},
};

bool setLayout(const VirtualDisplay& display, const char* layout) {
    int status = -1;
    runCommand({"setxkbmap", "-display", display.name(), layout}, &status);
    return status == 0;
}

void pressKeys(const VirtualDisplay& display, const std::vector<std::string>& keys) {
    std::vector<std::string> argv{"xdotool", "key", "--delay", "30"};
    argv.insert(argv.end(), keys.begin(), keys.end());
    runCommand(argv, nullptr, {{"DISPLAY", display.name()}});
}

TEST(KeyboardLayouts, CombinationDialogTakesPositionsAndNamesThemByTheLayout) {
    VirtualDisplay display;
    ASSERT_EQ(display.error(), "");
    if (!display.running()) GTEST_SKIP() << display.skipReason();
    if (!haveProgram("setxkbmap")) GTEST_SKIP() << "setxkbmap is not installed";
    ::setenv("DISPLAY", display.name().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    // Qt's own compose step, as on a desktop without another input method: it takes dead keys.
    ::setenv("QT_IM_MODULE", "compose", 1);
    static int argc = 1;
    static char name[] = "keyboard_layout_e2e_tests";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    auto namer = keys::makeXkbKeyNamer(display.name().c_str());
    ASSERT_TRUE(namer);
    keys::setKeyNamer(namer);

    testing_support::FakeHost fakeHost;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    app::TForm1 form{fakeHost, mouse};
    qtui::QtHost qt;
    app::TForm2 dialog{form, qt};
    dialog.FormCreate();
    qtui::FormView* view = qt.viewOf(dialog);
    ASSERT_TRUE(view);
    auto* edit = view->findChild<QLineEdit*>();
    ASSERT_TRUE(edit);
    const auto until = [&](auto done, int ms) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done();
    };
    view->activateWindow();
    edit->setFocus();
    ASSERT_TRUE(until([&] { return view->isActiveWindow() && edit->hasFocus(); }, 5000));

    // The dialog stays open while the layout changes under it.
    for (const LayoutCase& c : kDialogCases) {
        SCOPED_TRACE(std::string(c.layout) + " " + c.keys.back());
        ASSERT_TRUE(setLayout(display, c.layout));
        dialog.IB_CancelClick();
        QApplication::processEvents();
        pressKeys(display, c.keys);
        const std::string& field = dialog.at("Edt_Assembly").caption();
        EXPECT_TRUE(until([&] { return field == c.label; }, 3000)) << field;
        EXPECT_EQ(dialog.codeText(), c.code);
    }
    keys::setKeyNamer(nullptr);
}

TEST(KeyboardLayouts, RecordingTakesPositionsAndNamesThemByTheLayout) {
    VirtualDisplay display;
    ASSERT_EQ(display.error(), "");
    if (!display.running()) GTEST_SKIP() << display.skipReason();
    if (!haveProgram("setxkbmap")) GTEST_SKIP() << "setxkbmap is not installed";
    ::setenv("DISPLAY", display.name().c_str(), 1);
    auto namer = keys::makeXkbKeyNamer(display.name().c_str());
    ASSERT_TRUE(namer);
    keys::setKeyNamer(namer);
    auto capture = macros::makeSystemInputCapture();
    std::mutex m;
    std::vector<std::pair<int, bool>> keys;
    ASSERT_TRUE(capture->start({[&](int vk, bool down) {
                                    std::lock_guard lock(m);
                                    keys.emplace_back(vk, down);
                                },
                                nullptr, nullptr}));
    const auto received = [&](std::size_t n) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (;;) {
            {
                std::lock_guard lock(m);
                if (keys.size() >= n || std::chrono::steady_clock::now() > deadline) return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    };
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_TRUE(setLayout(display, "fr"));
    pressKeys(display, {"ampersand", "a", "dead_circumflex", "ISO_Level3_Shift"});
    received(8);
    ASSERT_TRUE(setLayout(display, "de"));
    pressKeys(display, {"odiaeresis"});
    received(10);
    capture->stop();

    // A line is named when it is recorded, by the layout of that moment.
    macros::Recorder recorder;
    macros::KeyboardHook hook;
    std::vector<std::string> lines;
    recorder.startNormal(lines);
    const macros::DelayOptions noDelay{macros::DelayMode::None, 50, "50"};
    std::lock_guard lock(m);
    // xdotool lets go of the level-three modifier once more after its own release.
    for (std::size_t i = 1; i < keys.size(); ++i) {
        if (!keys[i].second && keys[i] == keys[i - 1])
            keys.erase(keys.begin() + static_cast<long>(i));
    }
    ASSERT_EQ(keys.size(), 10u);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i == 0 || i == 8) {
            ASSERT_TRUE(setLayout(display, i == 0 ? "fr" : "de"));
        }
        recorder.keyboard(lines, keys[i].first, hook.feed(keys[i].second), 0, noDelay);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "00", "1 & CODE:821E", "2 & CODE:021E", "1 A CODE:8214", "2 A CODE:0214",
                         "1 ^ CODE:822F", "2 ^ CODE:022F", "1 Alt CODE:8104", "2 Alt CODE:0104",
                         "1 \xC3\x96 CODE:8233", "2 \xC3\x96 CODE:0233"}));
    keys::setKeyNamer(nullptr);
}

}  // namespace
}  // namespace e2e
