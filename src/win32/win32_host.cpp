#include "win32/win32_host.h"

#include <cmath>

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>

#include "skin/pictures.h"
#include "win32/wide_text.h"

namespace win32ui {
namespace {

constexpr wchar_t kMessageClass[] = L"QuorvexMessages";
constexpr wchar_t kTaskbarClass[] = L"QuorvexTaskbar";
constexpr UINT kPostedTask = WM_APP + 1;
constexpr UINT kTrayMessage = WM_APP + 2;
// The move command with the caption hit-test code: Windows then drags the window.
constexpr WPARAM kMoveByCaption = 0xF012;

// "LoadFile (*.bin)" becomes the dialog's pair "LoadFile (*.bin)\0*.bin\0".
std::wstring filterOf(const std::string& filter) {
    std::wstring out = wide(filter);
    std::wstring pattern = L"*.*";
    const auto open = out.find(L'('), close = out.find(L')');
    if (open != std::wstring::npos && close != std::wstring::npos && close > open)
        pattern = out.substr(open + 1, close - open - 1);
    out.push_back(L'\0');
    out += pattern;
    out.push_back(L'\0');
    return out;
}

// The picture as an icon, for the notification area.
HICON iconOf(const skin::Picture& pic) {
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof(header);
    header.bV5Width = pic.width;
    header.bV5Height = -pic.height;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!colour) return nullptr;
    auto* out = static_cast<std::uint8_t*>(bits);
    for (std::size_t i = 0; i + 3 < pic.rgba.size(); i += 4) {
        out[i] = pic.rgba[i + 2];
        out[i + 1] = pic.rgba[i + 1];
        out[i + 2] = pic.rgba[i];
        out[i + 3] = pic.rgba[i + 3];
    }
    HBITMAP mask = CreateBitmap(pic.width, pic.height, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

}  // namespace

Win32Host::Win32Host(HINSTANCE instance) : instance_(instance) {
    FormWindow::registerClass(instance);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = messageProc;
    wc.hInstance = instance;
    wc.lpszClassName = kMessageClass;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = taskbarProc;
    wc.lpszClassName = kTaskbarClass;
    wc.hIcon = LoadIconW(instance, L"MAINICON");
    RegisterClassExW(&wc);
    messages_ = CreateWindowExW(0, kMessageClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                instance, nullptr);
    SetWindowLongPtrW(messages_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Host::~Win32Host() {
    for (auto& [timer, id] : timerIds_) timer->setDriver(nullptr);
    removeTrayIcon();
    windows_.clear();
    if (taskbar_) DestroyWindow(taskbar_);
    DestroyWindow(messages_);
}

void Win32Host::removeTrayIcon() {
    if (!trayIcon_) return;
    Shell_NotifyIconW(NIM_DELETE, &tray_);
    DestroyIcon(trayIcon_);
    trayIcon_ = nullptr;
}

LRESULT CALLBACK Win32Host::messageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<Win32Host*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (host && message == WM_TIMER) {
        const auto it = host->timers_.find(wParam);
        if (it != host->timers_.end()) {
            it->second->fire();
            host->syncAll();
        }
        return 0;
    }
    if (host && message == kPostedTask) {
        host->runPosted();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Win32Host::taskbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<Win32Host*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    HWND main = host ? host->mainWindow() : nullptr;
    switch (message) {
        case WM_CLOSE:  // "Close window" on the taskbar entry
            if (main) host->closeMainWindow();
            return 0;
        case WM_SETFOCUS:
            // The taskbar entry activates this window; the user works in the main one.
            if (main && IsWindowVisible(main) && IsWindowEnabled(main)) SetFocus(main);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void Win32Host::setMainForm(ui::Form& form, MainWindowClosing closing) {
    main_ = &form;
    closing_ = std::move(closing);
    // Zero-sized, so that only its taskbar entry shows; minimising it hides the main window.
    if (!taskbar_) {
        taskbar_ = CreateWindowExW(
            0, kTaskbarClass, wide(title_).c_str(),
            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, GetSystemMetrics(SM_CXSCREEN) / 2,
            GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, instance_, nullptr);
        SetWindowLongPtrW(taskbar_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ensureWindow(form);
}

bool Win32Host::mainWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_QUERYENDSESSION:
            // Only a question: the user may still cancel the logoff, and then nothing may have
            // changed. A transfer cut short would leave the mouse half written, so while one
            // runs the answer is no, and the system shows why.
            result = mayClose() ? TRUE : FALSE;
            if (!result && !sessionEndHeld_ && closing_.waitReason) {
                sessionEndHeld_ = true;
                ShutdownBlockReasonCreate(mainWindow(), wide(closing_.waitReason()).c_str());
            }
            return true;
        case WM_ENDSESSION:
            // Cancelled: the editor goes on as before. Ending: the closing work, unless a
            // transfer still runs, which then goes on for as long as the system lets it.
            if (wParam && mayClose()) {
                if (closing_.close) closing_.close();
                removeTrayIcon();
                DestroyWindow(mainWindow());
            }
            result = 0;
            return true;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) != SC_MINIMIZE || !taskbar_) return false;
            ShowWindow(taskbar_, SW_MINIMIZE);  // which hides the main window with it
            result = 0;
            return true;
        case WM_SHOWWINDOW:
            // Shown by a call (a second start brings the first forward) while minimised.
            if (wParam && lParam == 0 && taskbar_ && IsIconic(taskbar_))
                ShowWindow(taskbar_, SW_RESTORE);
            return false;
        default:
            return false;
    }
}

void Win32Host::releaseSessionEnd() {
    if (!sessionEndHeld_ || !mayClose()) return;
    sessionEndHeld_ = false;
    ShutdownBlockReasonDestroy(mainWindow());
}

HWND Win32Host::mainWindow() const {
    if (!main_) return nullptr;
    const auto it = windows_.find(main_);
    // Null too while the main window is being made.
    return it == windows_.end() || !it->second ? nullptr : it->second->hwnd();
}

FormWindow& Win32Host::ensureWindow(ui::Form& form) {
    auto& window = windows_[&form];
    if (!window) window = std::make_unique<FormWindow>(form, *this, &form == main_);
    return *window;
}

FormWindow* Win32Host::windowOf(ui::Form& form) {
    const auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second.get();
}

void Win32Host::syncAll() {
    for (auto& [form, window] : windows_) window->sync();
}

void Win32Host::dispatch(const MSG& message) {
    if (message.message == WM_QUIT) {
        quitting_ = true;
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    releaseSessionEnd();
}

int Win32Host::run() {
    syncAll();
    MSG message;
    while (!quitting_) {
        // A timer of interval 0 runs whenever nothing waits in the queue (input, paints and
        // timers included): work done in steps between what the user does.
        if (ui::Timer* idle = idleTimer();
            idle && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            idle->fire();
            syncAll();
            continue;
        }
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
        dispatch(message);
        syncAll();
    }
    return 0;
}

ui::Timer* Win32Host::idleTimer() const {
    for (const auto& [id, timer] : timers_) {
        if (timer->enabled() && timer->interval() == 0) return timer;
    }
    return nullptr;
}

void Win32Host::processMessages() {
    syncAll();
    MSG message;
    while (!quitting_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) dispatch(message);
    if (quitting_) PostQuitMessage(0);  // the main loop still has to see it
    syncAll();
}

void Win32Host::sleep(int milliseconds) {
    // The window stays painted (and the wait animation runs) through the waits, while input
    // waits for their end, as it would behind a blocking sleep.
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max(0, milliseconds));
    for (;;) {
        syncAll();
        const ULONGLONG now = GetTickCount64();
        if (now >= end) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now),
                                  QS_PAINT | QS_TIMER | QS_POSTMESSAGE | QS_SENDMESSAGE);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0,
                            PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            dispatch(message);
        }
    }
}

void Win32Host::timerChanged(ui::Timer& timer) {
    const auto known = timerIds_.find(&timer);
    if (timer.driver() != this) {
        if (known != timerIds_.end()) {
            KillTimer(messages_, known->second);
            timers_.erase(known->second);
            timerIds_.erase(known);
        }
        return;
    }
    UINT_PTR id = known != timerIds_.end() ? known->second : nextTimerId_++;
    timerIds_[&timer] = id;
    timers_[id] = &timer;
    if (timer.enabled() && timer.interval() > 0) {
        SetTimer(messages_, id, static_cast<UINT>(timer.interval()), nullptr);
    } else {
        KillTimer(messages_, id);
    }
}

void Win32Host::showMessage(const std::string& text) {
    MessageBoxW(mainWindow(), wide(text).c_str(), wide(title_).c_str(), MB_OK);
    syncAll();
}

bool Win32Host::askYesNo(const std::string& text) {
    const int answer = MessageBoxW(mainWindow(), wide(text).c_str(), wide(title_).c_str(),
                                   MB_YESNO | MB_ICONINFORMATION);
    syncAll();
    return answer == IDYES;
}

std::optional<std::string> Win32Host::fileDialog(const ui::FileDialog& dialog, bool save) {
    const std::wstring filter = filterOf(dialog.filter);
    const std::wstring title = wide(title_);
    const std::wstring extension = wide(dialog.defaultExtension);
    wchar_t file[MAX_PATH * 4] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = mainWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrTitle = title.c_str();
    // A name typed without an extension gets it here, where the overwrite question sees it.
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // Where the last dialog was left, else the documents folder.
    std::wstring folder = wide(dialog.folder);
    if (folder.empty()) {
        wchar_t documents[MAX_PATH] = {};
        if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, documents)))
            folder = documents;
    }
    if (!folder.empty()) ofn.lpstrInitialDir = folder.c_str();
    ofn.Flags = OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
    BOOL chosen;
    if (save) {
        ofn.Flags |= OFN_OVERWRITEPROMPT;
        chosen = GetSaveFileNameW(&ofn);
    } else {
        ofn.Flags |= OFN_FILEMUSTEXIST;
        chosen = GetOpenFileNameW(&ofn);
    }
    syncAll();
    if (!chosen) return std::nullopt;
    return narrow(file);
}

std::optional<std::string> Win32Host::openFileName(const ui::FileDialog& dialog) {
    return fileDialog(dialog, false);
}

std::optional<std::string> Win32Host::saveFileName(const ui::FileDialog& dialog) {
    return fileDialog(dialog, true);
}

void Win32Host::showForm(ui::Form& form) {
    form.setVisible(true);
    FormWindow& window = ensureWindow(form);
    if (&form == main_ && taskbar_) ShowWindow(taskbar_, SW_SHOWNA);
    window.sync();
    const bool floating = form.role() == ui::Form::Role::Floating;
    ShowWindow(window.hwnd(), floating ? SW_SHOWNOACTIVATE : SW_SHOW);
    if (form.role() == ui::Form::Role::Dialog) SetForegroundWindow(window.hwnd());
    UpdateWindow(window.hwnd());
}

void Win32Host::hideForm(ui::Form& form) {
    form.setVisible(false);
    if (FormWindow* window = windowOf(form)) ShowWindow(window->hwnd(), SW_HIDE);
}

void Win32Host::repaint(ui::Form& form) {
    if (FormWindow* window = windowOf(form)) window->sync();
}

void Win32Host::closeMainWindow() {
    if (HWND main = mainWindow()) SendMessageW(main, WM_CLOSE, 0, 0);
}

void Win32Host::openUrl(const std::string& url) {
    ShellExecuteA(mainWindow(), "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

ui::Size Win32Host::screenSize() {
    // In the logical pixels of the forms, which a scaled screen has fewer of.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const double scale = dpi > 0 ? dpi / 96.0 : 1.0;
    return {static_cast<int>(GetSystemMetrics(SM_CXSCREEN) / scale),
            static_cast<int>(GetSystemMetrics(SM_CYSCREEN) / scale)};
}

void Win32Host::startWindowMove() {
    HWND main = mainWindow();
    if (!main) return;
    ReleaseCapture();
    SendMessageW(main, WM_SYSCOMMAND, kMoveByCaption, 0);
    // Windows moved the window itself; the model follows.
    RECT r;
    GetWindowRect(main, &r);
    const ui::Rect b = main_->bounds();
    const double scale = windowOf(*main_) ? windowOf(*main_)->scale() : 1.0;
    main_->setBounds({static_cast<int>(std::lround(r.left / scale)),
                      static_cast<int>(std::lround(r.top / scale)), b.w, b.h});
}

void Win32Host::setApplicationTitle(const std::string& title) {
    title_ = title;
    if (taskbar_) SetWindowTextW(taskbar_, wide(title).c_str());
    if (trayIcon_) {
        const std::wstring tip = wide(title);
        tray_.szTip[0] = L'\0';
        wcsncat(tray_.szTip, tip.c_str(), std::size(tray_.szTip) - 1);
        tray_.uFlags = NIF_TIP;
        Shell_NotifyIconW(NIM_MODIFY, &tray_);
    }
}

void Win32Host::setTrayIcon(const std::string& pictureName) {
    const skin::Picture* pic = skin::pictures().get(pictureName);
    if (!pic || trayIcon_) return;
    trayIcon_ = iconOf(*pic);
    if (!trayIcon_) return;
    tray_.cbSize = sizeof(tray_);
    tray_.hWnd = messages_;
    tray_.uID = 1;
    tray_.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    tray_.uCallbackMessage = kTrayMessage;
    tray_.hIcon = trayIcon_;
    const std::wstring tip = wide(title_.empty() ? "Gaming Mouse" : title_);
    wcsncpy(tray_.szTip, tip.c_str(), std::size(tray_.szTip) - 1);
    Shell_NotifyIconW(NIM_ADD, &tray_);
}

void Win32Host::afterFirstPaint(std::function<void()> task) {
    if (painted_)
        post(std::move(task));
    else
        afterFirstPaint_.push_back(std::move(task));
}

void Win32Host::mainWindowPainted() {
    if (painted_) return;
    painted_ = true;
    for (auto& task : afterFirstPaint_) post(std::move(task));
    afterFirstPaint_.clear();
}

void Win32Host::post(std::function<void()> task) {
    {
        std::lock_guard lock(postedMutex_);
        posted_.push_back(std::move(task));
    }
    PostMessageW(messages_, kPostedTask, 0, 0);
}

void Win32Host::runPosted() {
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(postedMutex_);
            if (posted_.empty()) break;
            task = std::move(posted_.front());
            posted_.pop_front();
        }
        task();
    }
    syncAll();
}

}  // namespace win32ui
