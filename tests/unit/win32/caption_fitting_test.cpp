// Every caption of the main window fits its control under GDI at the common display scales, in
// every language: no letter is cut at a label's edge, and a button's caption keeps its margin.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "app/main_form.h"
#include "sim/sim_presets.h"
#include "skin/pictures.h"
#include "win32/canvas.h"
#include "win32/win32_host.h"

namespace {

// The first and last device columns of a caption drawn alone in white on black.
std::pair<int, int> inkedColumns(win32ui::Canvas& canvas, const ui::Control& c, const ui::Rect& r,
                                 double scale, int largest) {
    canvas.resize(r.w, r.h);
    canvas.setClip(r);
    canvas.fill(r, {0, 0, 0});
    canvas.text(c, r, {255, 255, 255}, scale, largest);
    GdiFlush();
    int first = r.w, last = -1;
    for (int x = 0; x < r.w; ++x)
        for (int y = 0; y < r.h; ++y)
            if (canvas.pixel(x, y).g > 60) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

TEST(CaptionFitting, EveryCaptionFitsAtEveryDpiInEveryLanguage) {
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    win32ui::Win32Host host{GetModuleHandleW(nullptr)};
    app::TForm1 form{host, mouse};
    host.setMainForm(form,
                     {[] { return true; }, [] { return true; }, [] {}, [] { return std::string(); }});
    form.FormCreate();
    win32ui::Canvas canvas;
    for (const int dpi : {96, 120, 144, 192}) {
        const double scale = dpi / 96.0;
        for (int language = 1; language <= 3; ++language) {
            form.Btn_LangClick(language);
            std::set<int> dpiLevelSizes;  // the row of DPI numbers, one size group
            for (const auto& c : form.controls()) {
                if (c->kind() != ui::ControlKind::Label || c->caption().empty()) continue;
                // Key labels name what the mouse holds and scroll when it is long.
                if (c->scrollsWhenLong()) continue;
                const ui::Rect b = c->bounds();
                const ui::Rect r{0, 0, skin::deviceLength(b.w, scale),
                                 skin::deviceLength(b.h, scale)};
                const int largest = win32ui::sizeGroupPixels(canvas.dc(), form, *c, scale);
                const auto [first, last] = inkedColumns(canvas, *c, r, scale, largest);
                // A button (wider than an arrow) shows a clear gap inside its bevel.
                const int margin = c->verticalCenter() && b.w >= 40 ? skin::deviceLength(3, scale) : 1;
                const std::string where = std::to_string(dpi) + " dpi, table " +
                                          std::to_string(language) + ": " + c->name() + " \"" +
                                          c->caption() + "\"";
                const auto layout = win32ui::layoutCaption(canvas.dc(), *c, r, scale, largest);
                EXPECT_TRUE(layout.fits) << where;
                if (c->name().starts_with("lbl_DPI") && c->name().size() == 8)
                    dpiLevelSizes.insert(layout.pixels);
                // Left-aligned labels start at their edge; the cut of a letter shows at the end.
                if (c->verticalCenter()) EXPECT_GE(first, margin) << where;
                EXPECT_LT(last, r.w - margin) << where;
            }
            EXPECT_EQ(dpiLevelSizes.size(), 1u) << dpi << " dpi, table " << language;
        }
    }
}

}  // namespace
