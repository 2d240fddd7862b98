// The Win32 host moves the keyboard focus where the window model puts it: the combination
// dialog's edit takes the keys typed after opening, after Clear and after a click, system keys
// included, with real input through Wine's message queue.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/combination_dialog.h"
#include "app/main_form.h"
#include "sim/sim_presets.h"
#include "win32/win32_host.h"

namespace {

void type(std::initializer_list<std::pair<WORD, bool>> keys) {
    std::vector<INPUT> inputs;
    for (const auto& [vk, down] : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        // A keyboard sends the key's position too, which is what the window takes.
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

struct CombinationDialog : ::testing::Test {
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    win32ui::Win32Host host{GetModuleHandleW(nullptr)};
    app::TForm1 form{host, mouse};
    app::TForm2 dialog{form, host};

    void SetUp() override {
        host.setMainForm(
            form, {[] { return true; }, [] { return true; }, [] {}, [] { return std::string(); }});
        form.FormCreate();
        host.showForm(form);
        open();
    }
    void open() {
        dialog.FormCreate();
        settle();
    }
    // Input and the syncs after it run through the message queue.
    void settle() {
        for (int i = 0; i < 5; ++i) {
            host.processMessages();
            Sleep(10);
        }
    }
    HWND window() const { return GetAncestor(edit(), GA_ROOT); }
    HWND edit() const {
        HWND found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND top, LPARAM out) {
                HWND e = FindWindowExW(top, nullptr, L"Edit", nullptr);
                if (!IsWindowVisible(top) || !e || FindWindowExW(top, e, L"Edit", nullptr))
                    return TRUE;  // the dialog has one edit; the main window has many
                *reinterpret_cast<HWND*>(out) = e;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }
    HWND checkBox(const wchar_t* caption) const {
        return FindWindowExW(window(), nullptr, L"Button", caption);
    }
    void clickAt(int x, int y) {
        SendMessageW(window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(window(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        settle();
    }
    std::string text() const { return dialog.at("Edt_Assembly").caption(); }
};

TEST_F(CombinationDialog, TheEditHasTheFocusWheneverTheModelMovesIt) {
    ASSERT_TRUE(edit());
    const struct {
        const char* after;
        std::function<void(CombinationDialog&)> step;
    } cases[] = {
        {"opening", [](CombinationDialog&) {}},
        {"a click on the background", [](CombinationDialog& t) { t.clickAt(20, 150); }},
        {"a tick, which took the focus to its box",
         [](CombinationDialog& t) {
             SendMessageW(t.checkBox(L"Ctrl"), BM_CLICK, 0, 0);
             t.settle();
         }},
        {"Clear, clicked while a box had the focus",
         [](CombinationDialog& t) {
             SetFocus(t.checkBox(L"Shift"));
             t.clickAt(196 + 40, 134 + 12);
         }},
        {"a second opening",
         [](CombinationDialog& t) {
             t.dialog.IB_CloseClick();
             SetFocus(t.host.mainWindow());
             t.settle();
             t.open();
         }},
    };
    for (const auto& c : cases) {
        c.step(*this);
        EXPECT_EQ(GetFocus(), edit()) << "after " << c.after;
        dialog.IB_CancelClick();
        settle();
        type({{'A', true}, {'A', false}});
        settle();
        EXPECT_EQ(text(), "A") << "a key typed after " << c.after;
    }
}

TEST_F(CombinationDialog, SystemKeysReachTheEditAndNotTheSystemMenu) {
    // F10 alone is a key like any other.
    type({{VK_F10, true}, {VK_F10, false}});
    settle();
    EXPECT_EQ(text(), "F10");
    type({{'B', true}, {'B', false}});
    settle();
    EXPECT_EQ(text(), "F10+B");
    // A third key, Alt, clears the two and is refused; the key after it still reaches the edit.
    type({{VK_MENU, true}, {VK_MENU, false}});
    settle();
    EXPECT_EQ(text(), "");
    EXPECT_EQ(GetFocus(), edit());
    type({{'C', true}, {'C', false}});
    settle();
    EXPECT_EQ(text(), "C");
    // Alt with a letter is refused too, and the letter does not end in a menu.
    type({{VK_MENU, true}, {'D', true}, {'D', false}, {VK_MENU, false}, {'E', true}, {'E', false}});
    settle();
    EXPECT_EQ(text(), "C+E");
}

}  // namespace
