#include "win32/form_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cmath>

#include "keys/key_positions.h"
#include "skin/pictures.h"
#include "win32/wide_text.h"
#include "win32/win32_host.h"

namespace win32ui {
namespace {

constexpr wchar_t kClassName[] = L"QuorvexForm";
constexpr UINT_PTR kSubclassId = 1;
constexpr ui::Color kSelected{0xE3, 0x26, 0x2E};
constexpr ui::Color kWarning{255, 0, 0};
constexpr ui::Color kDisabledText{128, 128, 128};
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, which older MinGW headers lack

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* window = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (window && window->handle(message, wParam, lParam, result)) return result;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK childProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR data) {
    auto* window = reinterpret_cast<FormWindow*>(data);
    if (window->handleChild(hwnd, message, wParam, lParam)) return 0;
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

ui::MouseButton buttonOf(UINT message, WPARAM wParam) {
    switch (message) {
        case WM_XBUTTONDOWN:
        case WM_XBUTTONUP:
            return GET_XBUTTON_WPARAM(wParam) == XBUTTON1 ? ui::MouseButton::Back
                                                          : ui::MouseButton::Forward;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return ui::MouseButton::Right;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return ui::MouseButton::Middle;
        default:
            return ui::MouseButton::Left;
    }
}

// Alt+F4 stays the system's: it closes the window whichever control has the focus.
bool closesWindow(int vk, ui::KeyState state) {
    return vk == VK_F4 && state.alt;
}

COLORREF colorRef(ui::Color c) {
    return RGB(c.r, c.g, c.b);
}

// A picture as a premultiplied bitmap for AlphaBlend, kept for the life of the program.
HBITMAP iconBitmap(const std::string& name) {
    static std::map<std::string, HBITMAP> bitmaps;
    const auto found = bitmaps.find(name);
    if (found != bitmaps.end()) return found->second;
    HBITMAP bitmap = nullptr;
    if (const skin::Picture* pic = skin::pictures().get(name)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = pic->width;
        info.bmiHeader.biHeight = -pic->height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        auto* out = static_cast<std::uint8_t*>(bits);
        for (std::size_t i = 0; bitmap && i + 3 < pic->rgba.size(); i += 4) {
            const unsigned a = pic->rgba[i + 3];
            out[i] = static_cast<std::uint8_t>(pic->rgba[i + 2] * a / 255);
            out[i + 1] = static_cast<std::uint8_t>(pic->rgba[i + 1] * a / 255);
            out[i + 2] = static_cast<std::uint8_t>(pic->rgba[i] * a / 255);
            out[i + 3] = static_cast<std::uint8_t>(a);
        }
    }
    bitmaps[name] = bitmap;
    return bitmap;
}

// The window's DPI where Windows tells it per window (10 1607 and later; MinGW's headers and
// older systems may lack it), otherwise the system's.
unsigned dpiOf(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(hwnd)) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96;
}

}  // namespace

ui::Rect FormWindow::toDevice(const ui::Rect& r) const {
    const int x = skin::deviceLength(r.x, scale_), y = skin::deviceLength(r.y, scale_);
    return {x, y, skin::deviceLength(r.x + r.w, scale_) - x,
            skin::deviceLength(r.y + r.h, scale_) - y};
}

int FormWindow::toLogical(int device) const {
    return static_cast<int>(std::floor((device + 0.5) / scale_));
}

void FormWindow::registerClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(instance, L"MAINICON");
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
}

FormWindow::FormWindow(ui::Form& form, Win32Host& host, bool main)
    : form_(form), host_(host), main_(main) {
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    if (main) {
        style |= WS_MINIMIZEBOX | WS_SYSMENU;  // minimised with the taskbar's window
    } else if (form.role() == ui::Form::Role::Floating) {
        exStyle = WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    } else {
        exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    }
    const ui::Rect b = form.bounds();
    HWND owner = main ? host.taskbarWindow() : host.mainWindow();
    hwnd_ = CreateWindowExW(exStyle, kClassName, wide(form.caption()).c_str(), style, b.x, b.y, b.w,
                            b.h, owner, nullptr, GetModuleHandleW(nullptr), this);
    // The form's 800 x 600 is logical: on a scaled screen the window is made larger to match.
    scale_ = dpiOf(hwnd_) / 96.0;
    const ui::Rect d = toDevice(b);
    if (scale_ != 1.0)
        SetWindowPos(hwnd_, nullptr, d.x, d.y, d.w, d.h, SWP_NOZORDER | SWP_NOACTIVATE);
    // Black shows the desktop through the wait window, which is also slightly translucent.
    if (exStyle & WS_EX_LAYERED)
        SetLayeredWindowAttributes(hwnd_, RGB(0, 0, 0), 230, LWA_COLORKEY | LWA_ALPHA);
    canvas_.resize(d.w, d.h);
}

void FormWindow::setDpi(unsigned dpi) {
    const double scale = dpi / 96.0;
    if (dpi == 0 || scale == scale_) return;
    scale_ = scale;
    const ui::Rect d = toDevice(form_.bounds());
    canvas_.resize(d.w, d.h);
    for (auto& [control, ch] : children_) ch.revision = 0;  // placed and given fonts anew
    InvalidateRect(hwnd_, nullptr, FALSE);
}

FormWindow::~FormWindow() {
    for (auto& [control, ch] : children_) {
        if (ch.brush) DeleteObject(ch.brush);
    }
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

// ---- painting ----

void FormWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const ui::Rect area{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                        ps.rcPaint.bottom - ps.rcPaint.top};
    canvas_.setClip(area);
    canvas_.fill(area, {0, 0, 0});
    paintChildren(nullptr);
    GdiFlush();
    BitBlt(dc, area.x, area.y, area.w, area.h, canvas_.dc(), area.x, area.y, SRCCOPY);
    EndPaint(hwnd_, &ps);
}

void FormWindow::paintChildren(const ui::Control* parent) {
    for (const ui::Control* c : form_.paintOrder(parent)) {
        if (c->visible()) paintControl(*c);
    }
}

void FormWindow::paintControl(const ui::Control& c) {
    const ui::Rect r = toDevice(c.formBounds());
    switch (c.kind()) {
        case ui::ControlKind::Picture: {
            // The set at or above the window's scale; its pixels are drawn one to one when it is
            // the window's own scale (a 1.5x picture is rounded to whole pixels), else resampled.
            const double set = skin::pictureSetFor(scale_);
            const std::string name = skin::pictureInSet(c.picture(), set);
            const double made = name == c.picture() ? 1.0 : set;
            if (const skin::Picture* pic = skin::pictures().get(name))
                canvas_.picture(*pic, r, c.stretch(), scale_ / made, c.tint());
            break;
        }
        case ui::ControlKind::Label:
            if (c.background()) canvas_.fill(r, *c.background());
            canvas_.text(c, r, c.usable() ? c.font().color : kDisabledText, scale_,
                         sizeGroupPixels(canvas_.dc(), form_, c, scale_));
            break;
        case ui::ControlKind::Panel:
        case ui::ControlKind::GroupBox:
            if (c.background()) canvas_.fill(r, *c.background());
            if (c.borderColor()) canvas_.frame(r, *c.borderColor());  // one device pixel
            paintChildren(&c);
            break;
        default:
            break;  // input controls are child windows of their own
    }
}

// ---- child controls ----

HWND FormWindow::createChild(ui::Control& c) {
    const wchar_t* cls = nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    switch (c.kind()) {
        case ui::ControlKind::Edit:
            cls = L"EDIT";
            style |= ES_AUTOHSCROLL | (c.alignment() == ui::Align::Right ? ES_RIGHT : ES_LEFT);
            break;
        case ui::ControlKind::Memo:
            cls = L"EDIT";
            style |= ES_MULTILINE | ES_READONLY | WS_VSCROLL;
            break;
        case ui::ControlKind::ListBox:
            cls = L"LISTBOX";
            style |= LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT |
                     WS_VSCROLL;
            break;
        case ui::ControlKind::ComboBox:
            cls = L"COMBOBOX";
            style |= CBS_DROPDOWNLIST | WS_VSCROLL;
            break;
        case ui::ControlKind::CheckBox:
            cls = L"BUTTON";
            style |= BS_AUTOCHECKBOX;
            break;
        case ui::ControlKind::RadioButton:
            cls = L"BUTTON";
            style |= BS_AUTORADIOBUTTON;
            break;
        default:
            return nullptr;  // group boxes and hidden groups are painted or have no window
    }
    const ui::Rect r = toDevice(c.formBounds());
    const int height =
        c.kind() == ui::ControlKind::ComboBox ? r.h + toDevice({0, 0, 0, 200}).h : r.h;
    creating_ = &c;  // an owner-drawn list measures its items while it is created
    HWND h = CreateWindowExW(0, cls, L"", style, r.x, r.y, r.w, height, hwnd_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    creating_ = nullptr;
    if (!h) return nullptr;
    SetWindowSubclass(h, childProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    controlOf_[h] = &c;
    return h;
}

FormWindow::Child& FormWindow::child(ui::Control& c) {
    Child& ch = children_[&c];
    if (!ch.hwnd) ch.hwnd = createChild(c);
    return ch;
}

ui::Control* FormWindow::controlOf(HWND child) const {
    const auto it = controlOf_.find(child);
    return it == controlOf_.end() ? nullptr : it->second;
}

void FormWindow::syncChild(ui::Control& c, Child& ch) {
    HWND h = ch.hwnd;
    if (ch.revision != c.revision()) {
        ch.revision = c.revision();
        const ui::Rect r = toDevice(c.formBounds());
        const int height =
            c.kind() == ui::ControlKind::ComboBox ? r.h + toDevice({0, 0, 0, 200}).h : r.h;
        SetWindowPos(h, nullptr, r.x, r.y, r.w, height, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(h, WM_SETFONT,
                     reinterpret_cast<WPARAM>(Canvas::font(c.font().size, c.font().bold, scale_)),
                     FALSE);
        if (ch.brush) DeleteObject(ch.brush);
        ch.brushColor = c.background().value_or(ui::Color{255, 255, 255});
        ch.brush = CreateSolidBrush(colorRef(ch.brushColor));
        const std::wstring text = wide(c.caption());
        switch (c.kind()) {
            case ui::ControlKind::Edit: {
                wchar_t current[1024];
                GetWindowTextW(h, current, 1024);
                if (text != current) SetWindowTextW(h, text.c_str());
                SendMessageW(h, EM_SETREADONLY, c.readOnly(), 0);
                SendMessageW(h, EM_SETLIMITTEXT, c.maxLength() > 0 ? c.maxLength() : 32767, 0);
                break;
            }
            case ui::ControlKind::ListBox:
            case ui::ControlKind::ComboBox: {
                const bool list = c.kind() == ui::ControlKind::ListBox;
                const UINT reset = list ? LB_RESETCONTENT : CB_RESETCONTENT;
                const UINT add = list ? LB_ADDSTRING : CB_ADDSTRING;
                const UINT count = list ? LB_GETCOUNT : CB_GETCOUNT;
                // Items are replaced only when they differ, so that scrolling survives.
                bool same =
                    static_cast<std::size_t>(SendMessageW(h, count, 0, 0)) == c.items().size();
                for (std::size_t i = 0; same && i < c.items().size(); ++i) {
                    wchar_t item[512] = {};
                    const UINT get = list ? LB_GETTEXT : CB_GETLBTEXT;
                    const UINT len = list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN;
                    if (SendMessageW(h, len, i, 0) >= 512) {
                        same = false;
                        break;
                    }
                    SendMessageW(h, get, i, reinterpret_cast<LPARAM>(item));
                    same = wide(c.items()[i]) == item;
                }
                if (!same) {
                    SendMessageW(h, reset, 0, 0);
                    for (const auto& item : c.items())
                        SendMessageW(h, add, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
                }
                if (list) {
                    SendMessageW(h, LB_SETITEMHEIGHT, 0, toDevice({0, 0, 0, c.itemHeight()}).h);
                    SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(c.itemIndex()), 0);
                    InvalidateRect(h, nullptr, TRUE);
                } else {
                    SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(c.itemIndex()), 0);
                }
                break;
            }
            case ui::ControlKind::CheckBox:
            case ui::ControlKind::RadioButton:
                SetWindowTextW(h, text.c_str());
                SendMessageW(h, BM_SETCHECK, c.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
                break;
            default:
                break;
        }
    }
    // A hidden or disabled parent hides or disables its controls without a revision of their
    // own; they are children of the form's window, not of the parent's.
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    const bool usable = (style & WS_DISABLED) == 0;
    if (usable != c.usable()) EnableWindow(h, c.usable());
    const bool shown = (style & WS_VISIBLE) != 0;
    if (shown != c.showing()) ShowWindow(h, c.showing() ? SW_SHOWNA : SW_HIDE);
}

void FormWindow::sync() {
    syncing_ = true;
    const ui::Rect b = toDevice(form_.bounds());
    RECT now;
    GetWindowRect(hwnd_, &now);
    if (now.left != b.x || now.top != b.y || now.right - now.left != b.w ||
        now.bottom - now.top != b.h) {
        SetWindowPos(hwnd_, nullptr, b.x, b.y, b.w, b.h, SWP_NOZORDER | SWP_NOACTIVATE);
        canvas_.resize(b.w, b.h);
    }
    const auto dirty = form_.takeDirty();
    if (dirty.size() > 64) {
        InvalidateRect(hwnd_, nullptr, FALSE);
    } else {
        for (const ui::Rect& logical : dirty) {
            // A pixel wider on each side: a resampled picture's edge reaches into its neighbours.
            const ui::Rect r = toDevice(logical);
            const RECT rect{r.x - 1, r.y - 1, r.x + r.w + 1, r.y + r.h + 1};
            InvalidateRect(hwnd_, &rect, FALSE);
        }
    }
    for (const auto& c : form_.controls()) {
        if (!c->windowed()) continue;
        Child& ch = child(*c);
        if (ch.hwnd) syncChild(*c, ch);
    }
    syncing_ = false;
    // Last, as the move reports itself back through the focus messages and syncs again. A
    // hidden window takes it up when it is activated.
    if (focusRevision_ != form_.focusRevision()) {
        HWND target = focusTarget(false);
        focusRevision_ = form_.focusRevision();
        if (target && IsWindowVisible(hwnd_) && GetFocus() != target) SetFocus(target);
    }
}

HWND FormWindow::focusTarget(bool orLast) const {
    // Straight after a move the model asked for, that control; later whatever has the focus.
    ui::Control* c = focusRevision_ != form_.focusRevision() ? form_.focusRequest() : form_.focus();
    const auto it = children_.find(c);
    HWND h = it == children_.end() ? nullptr : it->second.hwnd;
    if (!h && orLast) h = restoreFocus_;
    return h && IsWindow(h) && IsWindowVisible(h) && IsWindowEnabled(h) ? h : nullptr;
}

void FormWindow::afterInput() {
    host_.syncAll();
}

// ---- messages ----

void FormWindow::command(HWND h, int code) {
    ui::Control* c = controlOf(h);
    if (!c || syncing_) return;
    switch (c->kind()) {
        case ui::ControlKind::Edit:
            if (code == EN_CHANGE) {
                const int length = GetWindowTextLengthW(h);
                std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
                GetWindowTextW(h, text.data(), length + 1);
                c->setCaption(narrow(text.c_str()));
                if (c->onChange) c->onChange(*c);
            }
            break;
        case ui::ControlKind::ListBox:
            if (code == LBN_SELCHANGE) {
                c->setItemIndex(static_cast<int>(SendMessageW(h, LB_GETCURSEL, 0, 0)));
                if (c->onClick) c->onClick(*c);
            }
            break;
        case ui::ControlKind::ComboBox:
            if (code == CBN_SELCHANGE) {
                c->setItemIndex(static_cast<int>(SendMessageW(h, CB_GETCURSEL, 0, 0)));
                if (c->onChange) c->onChange(*c);
            }
            break;
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::RadioButton:
            if (code == BN_CLICKED) {
                c->setChecked(SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED);
                if (c->onClick) c->onClick(*c);
            }
            break;
        default:
            break;
    }
    afterInput();
}

void FormWindow::drawItem(const DRAWITEMSTRUCT& item) {
    ui::Control* c = controlOf(item.hwndItem);
    if (!c || item.itemID == static_cast<UINT>(-1)) return;
    const std::size_t index = item.itemID;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool warn = c->warnLastItem() && index + 1 == c->items().size();
    const ui::Color back = warn       ? kWarning
                           : selected ? kSelected
                                      : c->background().value_or(ui::Color{255, 255, 255});
    HBRUSH brush = CreateSolidBrush(colorRef(back));
    FillRect(item.hDC, &item.rcItem, brush);
    DeleteObject(brush);
    RECT textRect = item.rcItem;
    textRect.left += 2;
    if (index < c->itemIcons().size()) {
        if (HBITMAP icon = iconBitmap(c->itemIcons()[index])) {
            const int side = toDevice({0, 0, 0, c->itemHeight()}).h - 2;
            HDC source = CreateCompatibleDC(item.hDC);
            HGDIOBJ old = SelectObject(source, icon);
            BITMAP info;
            GetObjectW(icon, sizeof(info), &info);
            const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            AlphaBlend(item.hDC, item.rcItem.left + 1, item.rcItem.top + 1, side, side, source, 0,
                       0, info.bmWidth, info.bmHeight, blend);
            SelectObject(source, old);
            DeleteDC(source);
            textRect.left += side + 4;
        }
    }
    if (index < c->items().size()) {
        SetBkMode(item.hDC, TRANSPARENT);
        ui::Color text = selected || warn ? ui::Color{255, 255, 255} : c->font().color;
        if (c->placeholderShown(index)) {
            // A placeholder for an empty item: half way to the background, below any real text.
            const auto half = [](std::uint8_t a, std::uint8_t b) {
                return static_cast<std::uint8_t>((a + b) / 2);
            };
            text = {half(text.r, back.r), half(text.g, back.g), half(text.b, back.b)};
        }
        SetTextColor(item.hDC, colorRef(text));
        SelectObject(item.hDC, Canvas::font(c->font().size, c->font().bold, scale_));
        DrawTextW(item.hDC, wide(c->shownItem(index)).c_str(), -1, &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

LRESULT FormWindow::colours(HDC dc, HWND h) {
    ui::Control* c = controlOf(h);
    if (!c) return 0;
    Child& ch = children_[c];
    ui::Color back = c->background().value_or(ui::Color{255, 255, 255});
    if (!c->background() &&
        (c->kind() == ui::ControlKind::CheckBox || c->kind() == ui::ControlKind::RadioButton)) {
        // A check box has no colour of its own: it stands on whatever the window shows there.
        const ui::Rect r = toDevice(c->formBounds());
        back = canvas_.pixel(r.x + 1, r.y + r.h / 2);
        if (!ch.brush || back != ch.brushColor) {
            if (ch.brush) DeleteObject(ch.brush);
            ch.brush = CreateSolidBrush(colorRef(back));
        }
    }
    ch.brushColor = back;
    SetTextColor(dc, colorRef(c->font().color));
    SetBkColor(dc, colorRef(back));
    return reinterpret_cast<LRESULT>(ch.brush);
}

bool FormWindow::handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (main_ && host_.mainWindowMessage(message, wParam, lParam, result)) return true;
    switch (message) {
        case WM_PAINT:
            paint();
            if (main_) host_.mainWindowPainted();
            return true;
        case WM_ERASEBKGND:
            result = 1;  // the paint covers everything
            return true;
        case WM_MOUSEMOVE:
            if (!tracking_) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
                tracking_ = TrackMouseEvent(&track) != FALSE;
            }
            form_.pointerMove(toLogical(GET_X_LPARAM(lParam)), toLogical(GET_Y_LPARAM(lParam)));
            afterInput();
            return true;
        case WM_MOUSELEAVE:
            tracking_ = false;
            form_.pointerLeft();
            afterInput();
            return true;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            // The focus stays where it is: a click on a label or a picture does not take it.
            form_.pointerDown(toLogical(GET_X_LPARAM(lParam)), toLogical(GET_Y_LPARAM(lParam)),
                              buttonOf(message, wParam));
            afterInput();
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            form_.pointerUp(toLogical(GET_X_LPARAM(lParam)), toLogical(GET_Y_LPARAM(lParam)),
                            buttonOf(message, wParam));
            afterInput();
            return true;
        case WM_XBUTTONDOWN:
        case WM_XBUTTONUP: {
            // The side buttons reach the form (which lets them press nothing) and go no further.
            const bool down = message == WM_XBUTTONDOWN;
            const ui::MouseButton button = buttonOf(message, wParam);
            const int x = toLogical(GET_X_LPARAM(lParam)), y = toLogical(GET_Y_LPARAM(lParam));
            if (down) {
                form_.pointerDown(x, y, button);
            } else {
                form_.pointerUp(x, y, button);
            }
            afterInput();
            result = TRUE;  // handled, as the message asks
            return true;
        }
        case WM_COMMAND:
            if (lParam) command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return true;
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (creating_)
                measure->itemHeight =
                    static_cast<UINT>(toDevice({0, 0, 0, creating_->itemHeight()}).h);
            result = TRUE;
            return true;
        }
        case WM_DRAWITEM:
            drawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            result = TRUE;
            return true;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSTATIC:
            result = colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
            return result != 0;
        case kDpiChanged: {
            // Moved to a screen of another scale, or the scale was changed: the window takes the
            // place and size Windows suggests and everything is drawn anew at the new DPI.
            setDpi(LOWORD(wParam));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            if (suggested) {
                SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                             suggested->right - suggested->left, suggested->bottom - suggested->top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return true;
        }
        case WM_CLOSE:
            if (main_) {
                if (host_.closeRequested()) DestroyWindow(hwnd_);
            } else {
                form_.setVisible(false);
                ShowWindow(hwnd_, SW_HIDE);
            }
            return true;
        case WM_SETFOCUS:
            // Activating the window gives the focus to its control, as a dialog's would.
            if (HWND target = focusTarget(true)) SetFocus(target);
            return true;
        case WM_DESTROY:
            if (main_) PostQuitMessage(0);
            return false;
        default:
            return false;
    }
}

bool FormWindow::handleChild(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    ui::Control* c = controlOf(h);
    if (!c) return false;
    switch (message) {
        case WM_MOUSEMOVE: {
            // The pointer over a control is over it for the form too: labels below are left.
            const ui::Rect r = c->formBounds();
            form_.pointerMove(r.x + 1, r.y + 1);
            afterInput();
            return false;
        }
        case WM_SETFOCUS:
            restoreFocus_ = nullptr;
            form_.focusMoved(c);
            return false;
        case WM_KILLFOCUS: {
            // Focus leaving for another window comes back here when this one is activated again.
            HWND next = reinterpret_cast<HWND>(wParam);
            if (!next || (next != hwnd_ && !IsChild(hwnd_, next))) restoreFocus_ = h;
            if (form_.focus() == c) form_.focusMoved(nullptr);
            afterInput();
            return false;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            // F10 and keys with Alt come as system keys; the control takes them like any other.
            // AltGr arrives as Right Alt with a Left Ctrl the system adds: a character key, not
            // Ctrl+Alt.
            const bool altGr = GetKeyState(VK_RMENU) < 0 && GetKeyState(VK_LCONTROL) < 0 &&
                               GetKeyState(VK_LMENU) >= 0 && GetKeyState(VK_RCONTROL) >= 0;
            const ui::KeyState state{GetKeyState(VK_SHIFT) < 0,
                                     !altGr && GetKeyState(VK_CONTROL) < 0,
                                     !altGr && GetKeyState(VK_MENU) < 0};
            // The key's position, which the layout does not move (the virtual key it does).
            const int vk = keys::scanCodeToPositionKey(
                keys::scanCodeOfKeyMessage(static_cast<std::uint32_t>(lParam)));
            const bool swallowed = form_.keyDown(vk, state) != vk;
            afterInput();
            if (message == WM_SYSKEYDOWN) return !closesWindow(vk, state);
            return swallowed;
        }
        case WM_SYSKEYUP:
        case WM_SYSCHAR:
            // Left to the system, Alt, F10 and Alt with a letter open the window's system menu,
            // which then takes the keys that follow.
            return true;
        case WM_CHAR: {
            char32_t ch = static_cast<char32_t>(wParam);
            if (ch < 0x20 && ch != '\b') return false;
            const char32_t after = form_.keyPress(ch);
            afterInput();
            if (after == 0) return true;
            if (after != ch) {
                DefSubclassProc(h, WM_CHAR, after, 0);
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}

}  // namespace win32ui
