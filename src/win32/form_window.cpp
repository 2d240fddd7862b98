#include "win32/form_window.h"

#include <commctrl.h>
#include <windowsx.h>

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

ui::MouseButton buttonOf(UINT message) {
    switch (message) {
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

}  // namespace

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
    // Black shows the desktop through the wait window, which is also slightly translucent.
    if (exStyle & WS_EX_LAYERED)
        SetLayeredWindowAttributes(hwnd_, RGB(0, 0, 0), 230, LWA_COLORKEY | LWA_ALPHA);
    canvas_.resize(b.w, b.h);
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
    const ui::Rect r = c.formBounds();
    switch (c.kind()) {
        case ui::ControlKind::Picture:
            if (const skin::Picture* pic = skin::pictures().get(c.picture()))
                canvas_.picture(*pic, r, c.stretch());
            break;
        case ui::ControlKind::Label:
            if (c.background()) canvas_.fill(r, *c.background());
            canvas_.text(c, r, c.enabled() ? c.font().color : kDisabledText);
            break;
        case ui::ControlKind::Panel:
        case ui::ControlKind::GroupBox:
            if (c.background()) canvas_.fill(r, *c.background());
            if (c.borderColor()) canvas_.frame(r, *c.borderColor());
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
    const ui::Rect r = c.formBounds();
    const int height = c.kind() == ui::ControlKind::ComboBox ? r.h + 200 : r.h;
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
        const ui::Rect r = c.formBounds();
        const int height = c.kind() == ui::ControlKind::ComboBox ? r.h + 200 : r.h;
        SetWindowPos(h, nullptr, r.x, r.y, r.w, height, SWP_NOZORDER | SWP_NOACTIVATE);
        EnableWindow(h, c.enabled());
        SendMessageW(h, WM_SETFONT,
                     reinterpret_cast<WPARAM>(Canvas::font(c.font().size, c.font().bold)), FALSE);
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
                    SendMessageW(h, LB_SETITEMHEIGHT, 0, c.itemHeight());
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
    // A hidden parent hides its controls without a revision of their own.
    const bool shown = (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != c.showing()) ShowWindow(h, c.showing() ? SW_SHOWNA : SW_HIDE);
}

void FormWindow::sync() {
    syncing_ = true;
    const ui::Rect b = form_.bounds();
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
        for (const ui::Rect& r : dirty) {
            const RECT rect{r.x, r.y, r.x + r.w, r.y + r.h};
            InvalidateRect(hwnd_, &rect, FALSE);
        }
    }
    for (const auto& c : form_.controls()) {
        if (!c->windowed()) continue;
        Child& ch = child(*c);
        if (ch.hwnd) syncChild(*c, ch);
    }
    syncing_ = false;
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
            const int side = c->itemHeight() - 2;
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
        SetTextColor(item.hDC,
                     colorRef(selected || warn ? ui::Color{255, 255, 255} : c->font().color));
        SelectObject(item.hDC, Canvas::font(c->font().size, c->font().bold));
        DrawTextW(item.hDC, wide(c->items()[index]).c_str(), -1, &textRect,
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
        const ui::Rect r = c->formBounds();
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
            return true;
        case WM_ERASEBKGND:
            result = 1;  // the paint covers everything
            return true;
        case WM_MOUSEMOVE:
            if (!tracking_) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
                tracking_ = TrackMouseEvent(&track) != FALSE;
            }
            form_.pointerMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
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
            SetFocus(hwnd_);
            form_.pointerDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), buttonOf(message));
            afterInput();
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            form_.pointerUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), buttonOf(message));
            afterInput();
            return true;
        case WM_COMMAND:
            if (lParam) command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return true;
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (creating_) measure->itemHeight = static_cast<UINT>(creating_->itemHeight());
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
        case WM_CLOSE:
            if (main_) {
                if (host_.closeRequested()) DestroyWindow(hwnd_);
            } else {
                ShowWindow(hwnd_, SW_HIDE);
            }
            return true;
        case WM_DESTROY:
            if (main_) PostQuitMessage(0);
            return false;
        default:
            return false;
    }
}

bool FormWindow::handleChild(HWND h, UINT message, WPARAM wParam, LPARAM) {
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
            form_.setFocus(c);
            return false;
        case WM_KILLFOCUS:
            if (form_.focus() == c) form_.setFocus(nullptr);
            afterInput();
            return false;
        case WM_KEYDOWN: {
            const ui::KeyState state{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                                     GetKeyState(VK_MENU) < 0};
            const int vk = static_cast<int>(wParam);
            const bool swallowed = form_.keyDown(vk, state) != vk;
            afterInput();
            return swallowed;
        }
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
