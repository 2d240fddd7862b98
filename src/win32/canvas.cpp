#include "win32/canvas.h"

#include <algorithm>

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

HFONT Canvas::font(int points, bool bold) {
    return fontOfPixels(pixelSize(points), bold);
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

void Canvas::picture(const skin::Picture& pic, const ui::Rect& r, bool stretch,
                     std::optional<ui::Color> tint) {
    if (pic.width <= 0 || pic.height <= 0 || r.w <= 0 || r.h <= 0) return;
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
            unsigned red = s[0], green = s[1], blue = s[2];
            if (tint) {
                const unsigned level = std::max({red, green, blue});
                red = tint->r * level / 255;
                green = tint->g * level / 255;
                blue = tint->b * level / 255;
            }
            dst[x] = (mix(red, (d >> 16) & 0xFF) << 16) | (mix(green, (d >> 8) & 0xFF) << 8) |
                     mix(blue, d & 0xFF);
        }
    }
}

void Canvas::text(const ui::Control& c, const ui::Rect& r, ui::Color color) {
    const std::wstring text = wide(c.caption());
    if (text.empty()) return;
    const ui::Rect box = intersect(r, clip_);
    if (box.w <= 0 || box.h <= 0) return;
    HRGN region = CreateRectRgn(box.x, box.y, box.x + box.w, box.y + box.h);
    SelectClipRgn(dc_, region);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(color.r, color.g, color.b));
    UINT flags = DT_NOPREFIX;
    flags |= c.alignment() == ui::Align::Center  ? DT_CENTER
             : c.alignment() == ui::Align::Right ? DT_RIGHT
                                                 : DT_LEFT;
    RECT rect{r.x, r.y, r.x + r.w, r.y + r.h};
    const bool button = c.verticalCenter();
    for (int pixels = pixelSize(c.font().size);; --pixels) {
        SelectObject(dc_, fontOfPixels(pixels, c.font().bold));
        SIZE extent{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &extent);
        const bool last = extent.cx <= r.w || pixels <= kSmallestFont;
        if (!last && button && text.find(L' ') != std::wstring::npos) {
            RECT wrapped = rect;
            DrawTextW(dc_, text.c_str(), -1, &wrapped, flags | DT_WORDBREAK | DT_CALCRECT);
            if (wrapped.bottom - wrapped.top <= r.h && wrapped.right - wrapped.left <= r.w) {
                RECT place = rect;
                place.top += (r.h - (wrapped.bottom - wrapped.top)) / 2;
                DrawTextW(dc_, text.c_str(), -1, &place, flags | DT_WORDBREAK);
                break;
            }
        }
        if (last) {
            DrawTextW(dc_, text.c_str(), -1, &rect,
                      flags | DT_SINGLELINE | (button ? DT_VCENTER : DT_TOP));
            break;
        }
    }
    SelectClipRgn(dc_, nullptr);
    DeleteObject(region);
}

}  // namespace win32ui
