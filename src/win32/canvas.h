#pragma once
// The back buffer of a window: a 32-bit DIB section that pictures are blended into by hand and
// GDI writes text on, copied to the window in one piece so that nothing flickers.
#include <windows.h>

#include <map>
#include <string>

#include <optional>

#include "skin/pictures.h"
#include "ui/control.h"
#include "ui/form.h"

namespace win32ui {

// How a label's caption is drawn: the font's height in device pixels, DrawText's flags and the
// rectangle to give it, and whether the caption fits at all (at the smallest size it may not).
struct CaptionLayout {
    int pixels = 0;
    UINT flags = 0;
    RECT room{};
    bool fits = true;
};
// `largest`, when not 0, is the largest font height to try (device pixels).
CaptionLayout layoutCaption(HDC dc, const ui::Control& c, const ui::Rect& r, double scale,
                            int largest = 0);
// The font height every label of c's size group fits at (0 outside a group).
int sizeGroupPixels(HDC dc, const ui::Form& form, const ui::Control& c, double scale);

class Canvas {
  public:
    Canvas();
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void resize(int width, int height);
    HDC dc() const { return dc_; }

    // Everything below draws inside the clip rectangle only.
    void setClip(const ui::Rect& clip) { clip_ = clip; }
    void fill(const ui::Rect& r, ui::Color c);
    void frame(const ui::Rect& r, ui::Color c);
    // A picture into `r`: stretched over it, or from its top-left corner at `scale` device
    // pixels per picture pixel (1 for a picture of the window's own scale), smoothly resampled
    // where that is not 1. With a tint, the picture's brightness (its strongest channel) in the
    // tint's colour.
    void picture(const skin::Picture& pic, const ui::Rect& r, bool stretch, double scale = 1.0,
                 std::optional<ui::Color> tint = std::nullopt);
    // A caption that never runs out of its rectangle: a button caption wraps to two lines when
    // they fit, otherwise the font shrinks until the text fits. Fonts are made for `scale`
    // device pixels per logical pixel.
    void text(const ui::Control& c, const ui::Rect& r, ui::Color color, double scale = 1.0,
              int largest = 0);

    // What was painted at a point (black outside): the backdrop of controls without a colour.
    ui::Color pixel(int x, int y) const;

    // The font of a control's size and weight at a display scale, kept for the life of the
    // program.
    static HFONT font(int points, bool bold, double scale = 1.0);

  private:
    void resampled(const skin::Picture& pic, const ui::Rect& placed, const ui::Rect& r);
    std::uint32_t* row(int y) { return bits_ + static_cast<std::ptrdiff_t>(y) * width_; }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0, height_ = 0;
    ui::Rect clip_;
    // A picture in a tint's colour, kept while neither changes: every paint draws it again.
    struct Tinted {
        const skin::Picture* source = nullptr;
        ui::Color tint;
        skin::Picture picture;
    } tinted_;
};

// Font pixel size of a point size at the 96 dpi the layout tables are made for.
int pixelSize(int points);

}  // namespace win32ui
