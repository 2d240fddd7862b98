// The editor's real Win32 windows over a simulated mouse: how the main window meets the end of
// the user's session, and what the taskbar shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/editor.h"
#include "sim/sim_presets.h"
#include "win32/editor_closing.h"
#include "win32/wide_text.h"
#include "win32/win32_host.h"

namespace win32ui {
namespace {

std::string captionOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return narrow(text);
}

struct EditorWindow : ::testing::Test {
    Win32Host host{GetModuleHandleW(nullptr)};
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    app::Editor editor{host, mouse};
    app::TForm1& form = editor.form();
    HWND main = nullptr;

    void SetUp() override {
        host.setApplicationTitle("Gaming Mouse");
        editor.start([this](app::TForm1& f) { host.setMainForm(f, closingOf(f)); });
        main = host.mainWindow();
        ASSERT_TRUE(main) << "no window could be made here";
        form.link().DevTimerTimer();  // the first poll, without its 3.5 s
        ASSERT_TRUE(form.link().deviceOpen());
    }
    // A new name for macro 2, so that Apply has something to write.
    void rename(const std::string& name) {
        form.Btn_MacroClick();
        form.at("LB_MacroName").setItemIndex(2);
        form.SetMacroName(name);
    }
    bool mouseHoldsTheNames() {
        const auto& names = form.editorImage().dataBuf.macroNames;
        const auto held = mouse.firmware.read(0x6400, names.size());
        return std::equal(held.begin(), held.end(), names.begin());
    }
    // The editor still polls the mouse and Apply writes to it.
    void expectWorking() {
        host.processMessages();
        ASSERT_TRUE(IsWindow(main)) << "the window stays";
        EXPECT_TRUE(form.devTimer().enabled()) << "the mouse is still polled";
        EXPECT_TRUE(form.link().deviceOpen()) << "the link was not reset";
        rename("After");
        form.link().Btn_ApplyClick();
        EXPECT_TRUE(mouseHoldsTheNames());
    }
};

TEST_F(EditorWindow, ACancelledLogoffLeavesTheEditorWorking) {
    EXPECT_EQ(SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageW(main, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    expectWorking();
}

TEST_F(EditorWindow, AnEndingSessionClosesTheEditor) {
    ASSERT_EQ(SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(form.devTimer().enabled());
    EXPECT_FALSE(form.link().deviceOpen()) << "no device traffic after it";
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the program ends";
}

// The question comes while Apply writes: the write is not cut short and the answer is no, and
// nothing is left behind that would close the window once the write is over.
TEST_F(EditorWindow, ALogoffDuringATransferWaitsForItWithoutClosingAfterIt) {
    rename("During");
    LRESULT answer = -1;
    std::function<void()> askOnceWriting = [&] {
        if (mouse.firmware.counters().dataReportsIn == 0) return host.post(askOnceWriting);
        answer = SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    };
    host.post(askOnceWriting);
    form.link().Btn_ApplyClick();
    EXPECT_EQ(answer, FALSE);
    EXPECT_TRUE(mouseHoldsTheNames()) << "the write went on to its end";
    SendMessageW(main, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    expectWorking();
    EXPECT_EQ(SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE)
        << "nothing runs any more";
}

TEST_F(EditorWindow, TheTaskbarShowsTheTitleOfTheLanguage) {
    const HWND taskbar = GetWindow(main, GW_OWNER);
    ASSERT_EQ(taskbar, host.taskbarWindow());
    EXPECT_TRUE(IsWindowVisible(taskbar));
    EXPECT_FALSE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "one taskbar entry";
    std::string first;
    for (int language : {1, 2, 3}) {
        SCOPED_TRACE(language);
        form.Btn_LangClick(language);
        const std::string title = form.languageText("Title");
        EXPECT_EQ(captionOf(taskbar), title);
        EXPECT_EQ(captionOf(main), "Gaming Mouse v1.0");
        EXPECT_EQ(FindWindowA(nullptr, "Gaming Mouse v1.0"), main) << "the single-instance probe";
        if (language == 1) first = title;
        if (language == 2) {
            EXPECT_NE(title, first) << "the languages differ";
        }
    }
}

}  // namespace
}  // namespace win32ui
