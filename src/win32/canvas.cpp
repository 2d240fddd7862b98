#include "win32/canvas.h"

#include <algorithm>
#include <cmath>

#include "win32/wide_text.h"

namespace win32ui {
namespace {

constexpr int kSmallestFont = 8;

std::uint32_t bgr(ui::Color c) {
    return (static_cast<std::uint32_t>(c.r) << 16) | (static_cast<std::uint32_t>(c.g) << 8) | c.b;
}

ui::Rect intersect(const ui::Rect& a, const ui::Rect& b) {
    const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
    const int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
    return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

// Tahoma is the Windows dialog face (Wine brings its own); anything else falls back to the
// system's choice.
const wchar_t* faceName() {
    static const wchar_t* face = [] {
        LOGFONTW wanted{};
        wanted.lfCharSet = DEFAULT_CHARSET;
        wcscpy(wanted.lfFaceName, L"Tahoma");
        bool found = false;
        HDC screen = GetDC(nullptr);
        EnumFontFamiliesExW(
            screen, &wanted,
            [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
                *reinterpret_cast<bool*>(found) = true;
                return 0;
            },
            reinterpret_cast<LPARAM>(&found), 0);
        ReleaseDC(nullptr, screen);
        return found ? L"Tahoma" : L"";
    }();
    return face;
}

HFONT fontOfPixels(int pixels, bool bold) {
    static std::map<std::pair<int, bool>, HFONT> fonts;
    HFONT& f = fonts[{pixels, bold}];
    if (!f) {
        f = CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, faceName());
    }
    return f;
}

}  // namespace

int pixelSize(int points) {
    return (points * 96 + 36) / 72;
}

HFONT Canvas::font(int points, bool bold, double scale) {
    return fontOfPixels(skin::deviceLength(pixelSize(points), scale), bold);
}

Canvas::Canvas() : dc_(CreateCompatibleDC(nullptr)) {}

Canvas::~Canvas() {
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void Canvas::resize(int width, int height) {
    if (width == width_ && height == height_ && bitmap_) return;
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    previous_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
    clip_ = {0, 0, width, height};
}

ui::Color Canvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {0, 0, 0};
    GdiFlush();
    const std::uint32_t v = bits_[static_cast<std::ptrdiff_t>(y) * width_ + x];
    return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v)};
}

void Canvas::fill(const ui::Rect& r, ui::Color c) {
    GdiFlush();
    const ui::Rect a = intersect(intersect(r, clip_), {0, 0, width_, height_});
    const std::uint32_t v = bgr(c);
    for (int y = a.y; y < a.y + a.h; ++y) std::fill_n(row(y) + a.x, a.w, v);
}

void Canvas::frame(const ui::Rect& r, ui::Color c) {
    fill({r.x, r.y, r.w, 1}, c);
    fill({r.x, r.y + r.h - 1, r.w, 1}, c);
    fill({r.x, r.y, 1, r.h}, c);
    fill({r.x + r.w - 1, r.y, 1, r.h}, c);
}

void Canvas::picture(const skin::Picture& pic, const ui::Rect& r, bool stretch, double scale,
                     std::optional<ui::Color> tint) {
    if (pic.width <= 0 || pic.height <= 0 || r.w <= 0 || r.h <= 0) return;
    if (tint) {
        if (tinted_.source != &pic || !(tinted_.tint == *tint)) {
            // The picture's brightness (its strongest channel) in the tint's colour, alpha kept.
            tinted_ = {&pic, *tint, pic};
            auto& px = tinted_.picture.rgba;
            for (std::size_t i = 0; i + 3 < px.size(); i += 4) {
                const unsigned level = std::max({px[i], px[i + 1], px[i + 2]});
                px[i] = static_cast<std::uint8_t>(tint->r * level / 255);
                px[i + 1] = static_cast<std::uint8_t>(tint->g * level / 255);
                px[i + 2] = static_cast<std::uint8_t>(tint->b * level / 255);
            }
        }
        picture(tinted_.picture, r, stretch, scale);
        return;
    }
    if (!stretch && scale != 1.0) {
        resampled(
            pic,
            {r.x, r.y, skin::deviceLength(pic.width, scale), skin::deviceLength(pic.height, scale)},
            r);
        return;
    }
    GdiFlush();
    const ui::Rect placed = stretch ? r : ui::Rect{r.x, r.y, pic.width, pic.height};
    const ui::Rect a = intersect(intersect(intersect(placed, r), clip_), {0, 0, width_, height_});
    for (int y = a.y; y < a.y + a.h; ++y) {
        const int sy = stretch ? (y - placed.y) * pic.height / placed.h : y - placed.y;
        const std::uint8_t* src = pic.rgba.data() + static_cast<std::ptrdiff_t>(sy) * pic.width * 4;
        std::uint32_t* dst = row(y);
        for (int x = a.x; x < a.x + a.w; ++x) {
            const int sx = stretch ? (x - placed.x) * pic.width / placed.w : x - placed.x;
            const std::uint8_t* s = src + sx * 4;
            const unsigned alpha = s[3];
            if (alpha == 0) continue;
            const std::uint32_t d = dst[x];
            const auto mix = [alpha](unsigned from, unsigned to) {
                return (from * alpha + to * (255 - alpha) + 127) / 255;
            };
            dst[x] = (mix(s[0], (d >> 16) & 0xFF) << 16) | (mix(s[1], (d >> 8) & 0xFF) << 8) |
                     mix(s[2], d & 0xFF);
        }
    }
}

void Canvas::resampled(const skin::Picture& pic, const ui::Rect& placed, const ui::Rect& r) {
    // Each device pixel averages the picture pixels it covers (a box filter): smooth when a
    // larger set is scaled down, and bilinear-like when the 2x set is scaled up.
    GdiFlush();
    const ui::Rect a = intersect(intersect(intersect(placed, r), clip_), {0, 0, width_, height_});
    const double fx = static_cast<double>(pic.width) / placed.w;
    const double fy = static_cast<double>(pic.height) / placed.h;
    const auto span = [](double from, double to, int limit, auto&& each) {
        const int first = std::max(0, static_cast<int>(from));
        const int last = std::min(limit - 1, static_cast<int>(std::ceil(to)) - 1);
        for (int i = first; i <= last; ++i) {
            const double weight = std::min<double>(i + 1, to) - std::max<double>(i, from);
            if (weight > 0) each(i, weight);
        }
    };
    for (int y = a.y; y < a.y + a.h; ++y) {
        const double y0 = (y - placed.y) * fy,
                     y1 = std::min<double>(pic.height, y0 + std::max(fy, 1.0));
        std::uint32_t* dst = row(y);
        for (int x = a.x; x < a.x + a.w; ++x) {
            const double x0 = (x - placed.x) * fx;
            const double x1 = std::min<double>(pic.width, x0 + std::max(fx, 1.0));
            double sum[4] = {}, total = 0;
            span(y0, y1, pic.height, [&](int sy, double wy) {
                span(x0, x1, pic.width, [&](int sx, double wx) {
                    const std::uint8_t* p =
                        pic.rgba.data() + (static_cast<std::ptrdiff_t>(sy) * pic.width + sx) * 4;
                    const double w = wx * wy, alpha = p[3] * w;
                    for (int k = 0; k < 3; ++k) sum[k] += p[k] * alpha;  // premultiplied
                    sum[3] += alpha;
                    total += w;
                });
            });
            if (total <= 0 || sum[3] <= 0) continue;
            const double alpha = sum[3] / total / 255;
            const std::uint32_t d = dst[x];
            const auto mix = [&](int k, unsigned to) {
                const double v = sum[k] / total / 255 + to * (1 - alpha);
                return static_cast<std::uint32_t>(std::clamp(v + 0.5, 0.0, 255.0));
            };
            dst[x] = (mix(0, (d >> 16) & 0xFF) << 16) | (mix(1, (d >> 8) & 0xFF) << 8) |
                     mix(2, d & 0xFF);
        }
    }
}

CaptionLayout layoutCaption(HDC dc, const ui::Control& c, const ui::Rect& r, double scale,
                            int largest) {
    const std::wstring text = wide(c.caption());
    CaptionLayout layout;
    layout.flags = DT_NOPREFIX;
    layout.flags |= c.alignment() == ui::Align::Center  ? DT_CENTER
                    : c.alignment() == ui::Align::Right ? DT_RIGHT
                                                        : DT_LEFT;
    const bool button = c.verticalCenter();
    // A button's caption keeps clear of its edges.
    const int margin = skin::deviceLength(c.captionMargin(), scale);
    layout.room = {r.x + margin, r.y, r.x + r.w - margin, r.y + r.h};
    const int width = r.w - 2 * margin;
    int normal = skin::deviceLength(pixelSize(c.font().size), scale);
    if (largest > 0) normal = std::min(normal, largest);
    // A label that scrolls when hovered keeps its size and shows the start of its caption.
    const int smallest = c.scrollsWhenLong() ? normal : skin::deviceLength(kSmallestFont, scale);
    for (layout.pixels = normal;; --layout.pixels) {
        SelectObject(dc, fontOfPixels(layout.pixels, c.font().bold));
        // Measured as DrawText lays the line out, which is what draws it below.
        RECT drawn{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), -1, &drawn, layout.flags | DT_SINGLELINE | DT_CALCRECT);
        layout.fits = drawn.right - drawn.left <= width;
        const bool last = layout.fits || layout.pixels <= smallest;
        // Buttons break into two lines before they shrink; other captions only at the smallest.
        if (!layout.fits && !c.scrollsWhenLong() && (button || last) &&
            text.find(L' ') != std::wstring::npos) {
            RECT wrapped = layout.room;
            DrawTextW(dc, text.c_str(), -1, &wrapped, layout.flags | DT_WORDBREAK | DT_CALCRECT);
            if (wrapped.bottom - wrapped.top <= r.h && wrapped.right - wrapped.left <= width) {
                layout.room.top += (r.h - (wrapped.bottom - wrapped.top)) / 2;
                layout.flags |= DT_WORDBREAK;
                layout.fits = true;
                return layout;
            }
        }
        if (last) {
            // What does not fit even so ends in an ellipsis rather than in half a letter.
            layout.flags |= DT_SINGLELINE | DT_END_ELLIPSIS | (button ? DT_VCENTER : DT_TOP);
            return layout;
        }
    }
}

int sizeGroupPixels(HDC dc, const ui::Form& form, const ui::Control& c, double scale) {
    if (!c.sizeGroup()) return 0;
    int pixels = 0;
    for (const auto& other : form.controls()) {
        if (other->sizeGroup() != c.sizeGroup() || other->caption().empty()) continue;
        const ui::Rect b = other->formBounds();
        const ui::Rect r{0, 0, skin::deviceLength(b.w, scale), skin::deviceLength(b.h, scale)};
        const int fitted = layoutCaption(dc, *other, r, scale).pixels;
        pixels = pixels ? std::min(pixels, fitted) : fitted;
    }
    return pixels;
}

void Canvas::text(const ui::Control& c, const ui::Rect& r, ui::Color color, double scale,
                  int largest) {
    const std::wstring text = wide(c.caption());
    if (text.empty()) return;
    const ui::Rect box = intersect(r, clip_);
    if (box.w <= 0 || box.h <= 0) return;
    HRGN region = CreateRectRgn(box.x, box.y, box.x + box.w, box.y + box.h);
    SelectClipRgn(dc_, region);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(color.r, color.g, color.b));
    CaptionLayout layout = layoutCaption(dc_, c, r, scale, largest);
    DrawTextW(dc_, text.c_str(), -1, &layout.room, layout.flags);
    SelectClipRgn(dc_, nullptr);
    DeleteObject(region);
}

}  // namespace win32ui
