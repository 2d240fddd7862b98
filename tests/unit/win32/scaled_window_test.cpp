// The Win32 host's window at 144 and 192 dpi: the scale change Windows announces, and the
// pointer's device positions landing on the controls they show.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>

#include "skin/pictures.h"
#include "ui/form.h"
#include "win32/win32_host.h"

namespace {

constexpr UINT kDpiChanged = 0x02E0;

TEST(ScaledWindow, TakesTheSuggestedRectangleAndHitsWhatItShows) {
    for (const unsigned dpi : {144u, 192u}) {
        const double scale = dpi / 96.0;
        win32ui::Win32Host host(GetModuleHandleW(nullptr));
        ui::Form form{"scaled"};
        form.setBounds({0, 0, 200, 100});
        // Neighbours that touch, so that an edge pixel given to the wrong one shows.
        form.add(ui::ControlKind::Label, "A").setBounds({7, 7, 31, 21});
        form.add(ui::ControlKind::Label, "B").setBounds({38, 7, 29, 21});
        form.add(ui::ControlKind::Label, "C").setBounds({7, 28, 60, 13});
        host.setMainForm(
            form, {[] { return true; }, [] { return true; }, [] {}, [] { return std::string(); }});
        host.showForm(form);
        HWND window = host.mainWindow();
        ASSERT_NE(window, nullptr);

        RECT suggested{50, 40, 50 + skin::deviceLength(200, scale),
                       40 + skin::deviceLength(100, scale)};
        SendMessageW(window, kDpiChanged, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        RECT now{};
        GetWindowRect(window, &now);
        EXPECT_EQ(now.left, suggested.left) << dpi;
        EXPECT_EQ(now.right - now.left, suggested.right - suggested.left) << dpi;
        EXPECT_EQ(now.bottom - now.top, suggested.bottom - suggested.top) << dpi;

        int checked = 0;
        for (const auto& c : form.controls()) {
            const ui::Rect r = c->formBounds();
            for (const auto& [lx, ly] : {std::pair{r.x, r.y}, {r.x + r.w - 1, r.y + r.h - 1}}) {
                for (const int edge : {0, 1}) {  // the first and the last device pixel
                    const int dx = static_cast<int>(std::ceil((lx + edge) * scale - 0.5)) - edge;
                    const int dy = static_cast<int>(std::ceil((ly + edge) * scale - 0.5)) - edge;
                    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(dx, dy));
                    EXPECT_EQ(form.hovered(), form.hitTest(lx, ly))
                        << c->name() << " at device " << dx << "," << dy << " (" << dpi << " dpi)";
                    ++checked;
                }
            }
        }
        EXPECT_EQ(checked, 12);
    }
}

}  // namespace
