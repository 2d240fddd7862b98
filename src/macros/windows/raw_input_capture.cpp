// Raw keyboard and mouse input (RIDEV_INPUTSINK, so input meant for other windows arrives too)
// and a low-level mouse hook, on a thread of their own with a message-only window: every key and
// button, whichever window has the focus.
#include "macros/windows/raw_input_capture.h"

#include <windows.h>

#include <atomic>
#include <bit>
#include <future>
#include <thread>
#include <vector>

#include "keys/key_positions.h"
#include "macros/input_capture.h"
#include "macros/recorder.h"

namespace macros {
namespace {

constexpr wchar_t kClassName[] = L"QuorvexRawInput";
// A button event the hook saw: wParam the mouse message, lParam the X button.
constexpr UINT kHookEvent = WM_APP + 1;
// Takes the hook away as the system does, without the capture noticing.
constexpr UINT kDropHook = WM_APP + 2;
// The button transitions of raw mouse input: left, right, middle, X1 and X2, down and up.
constexpr USHORT kButtonFlags = 0x03FF;

bool isButton(WPARAM message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_XBUTTONDOWN:
        case WM_XBUTTONUP:
            return true;
        default:
            return false;
    }
}

// Windows removes a low-level hook that did not answer in time and says nothing. Raw input still
// reports every button, and the hook hears of an event before raw input does; so raw input two
// button events ahead of the hook means the hook is gone.
class HookWatch {
  public:
    void hookEvent() {
        // Events only the hook hears (input another hook swallowed) do not pile up credit.
        if (ahead_ > -kSlack) --ahead_;
    }
    // True when the hook has missed events.
    bool rawEvents(int count) {
        ahead_ += count;
        return ahead_ > 1;
    }

  private:
    static constexpr int kSlack = 16;
    int ahead_ = 0;
};

class RawInputCapture;
// The low-level hook's procedure has no context of its own.
std::atomic<RawInputCapture*> active{nullptr};

class RawInputCapture : public InputCapture {
  public:
    ~RawInputCapture() override { stop(); }

    bool start(Handlers handlers) override {
        stop();
        handlers_ = std::move(handlers);
        watch_ = {};
        told_ = false;
        std::promise<bool> started;
        auto ready = started.get_future();
        worker_ = std::thread([this, &started] { run(started); });
        if (ready.get()) return true;
        worker_.join();
        return false;
    }

    void stop() override {
        if (!worker_.joinable()) return;
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        worker_.join();
    }

    void dropHookUnnoticed() {
        if (worker_.joinable() && window_) SendMessageW(window_, kDropHook, 0, 0);
    }

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        RawInputCapture* self = active.load();
        if (self && message == WM_INPUT) self->rawInput(reinterpret_cast<HRAWINPUT>(lParam));
        if (self && message == kHookEvent) {
            self->mouse(static_cast<UINT>(wParam), static_cast<WORD>(lParam));
            return 0;
        }
        if (self && message == kDropHook) {
            // The stale handle stays, as after the system's removal.
            UnhookWindowsHookEx(self->hook_);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    static LRESULT CALLBACK mouseHook(int code, WPARAM wParam, LPARAM lParam) {
        // The event goes on first, and the hook only notes it: the system's mouse never waits
        // for the recording.
        const LRESULT next = CallNextHookEx(nullptr, code, wParam, lParam);
        RawInputCapture* self = active.load();
        if (code == HC_ACTION && self && isButton(wParam)) {
            self->watch_.hookEvent();  // counted now, before raw input can report the event
            const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
            PostMessageW(self->window_, kHookEvent, wParam, HIWORD(info->mouseData));
        }
        return next;
    }

    void rawInput(HRAWINPUT input) {
        UINT size = 0;
        if (GetRawInputData(input, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 ||
            size < sizeof(RAWINPUTHEADER))
            return;
        std::vector<std::uint8_t> buffer(size);
        if (GetRawInputData(input, RID_INPUT, buffer.data(), &size, sizeof(RAWINPUTHEADER)) != size)
            return;  // an input that cannot be read is dropped
        const auto* raw = reinterpret_cast<const RAWINPUT*>(buffer.data());
        if (raw->header.dwType == RIM_TYPEKEYBOARD) {
            if (!handlers_.key) return;
            const RAWKEYBOARD& k = raw->data.keyboard;
            // Pause's second half and the fake Shift around some E0 keys carry no key.
            if (k.VKey == 0xFF) return;
            // The key's position, not what the layout makes of it (on AZERTY the US "Q" key gives
            // VK_A); raw input names either side's Shift, Ctrl and Alt generically, as before.
            const int vk = genericVirtualKey(
                keys::scanCodeToPositionKey(keys::scanCodeOfRawInput(k.MakeCode, k.Flags)));
            if (vk == 0) return;
            handlers_.key(vk, (k.Flags & RI_KEY_BREAK) == 0);
        } else if (raw->header.dwType == RIM_TYPEMOUSE) {
            const int buttons =
                std::popcount(static_cast<unsigned>(raw->data.mouse.usButtonFlags & kButtonFlags));
            if (buttons > 0 && watch_.rawEvents(buttons)) hookLost();
        }
    }

    void hookLost() {
        watch_ = {};
        // A new hook takes over; what the old one missed is gone, and the user hears of it once.
        UnhookWindowsHookEx(hook_);
        hook_ = SetWindowsHookExW(WH_MOUSE_LL, mouseHook, GetModuleHandleW(nullptr), 0);
        if (!told_ && handlers_.inputLost) {
            told_ = true;
            handlers_.inputLost();
        }
    }

    void mouse(UINT message, WORD xButton) {
        if (!handlers_.mouse) return;
        switch (message) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONUP:
                handlers_.mouse(MouseButton::Left, message == WM_LBUTTONDOWN);
                break;
            case WM_RBUTTONDOWN:
            case WM_RBUTTONUP:
                handlers_.mouse(MouseButton::Right, message == WM_RBUTTONDOWN);
                break;
            case WM_MBUTTONDOWN:
            case WM_MBUTTONUP:
                handlers_.mouse(MouseButton::Middle, message == WM_MBUTTONDOWN);
                break;
            case WM_XBUTTONDOWN:
            case WM_XBUTTONUP:
                handlers_.mouse(xButton == XBUTTON1 ? MouseButton::Backward : MouseButton::Forward,
                                message == WM_XBUTTONDOWN);
                break;
            default:
                break;
        }
    }

    void run(std::promise<bool>& started) {
        threadId_ = GetCurrentThreadId();
        // Every mouse event of the system waits for this thread's hook: at a lower priority a
        // busy machine (a running game) would hold the mouse up until Windows drops the hook.
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = windowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kClassName;
        RegisterClassExW(&wc);
        window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  instance, nullptr);
        // Generic desktop keyboard and mouse; the mouse only to check on the hook.
        RAWINPUTDEVICE devices[] = {{1, 6, RIDEV_INPUTSINK, window_},
                                    {1, 2, RIDEV_INPUTSINK, window_}};
        active = this;
        hook_ = window_ ? SetWindowsHookExW(WH_MOUSE_LL, mouseHook, instance, 0) : nullptr;
        const bool ok = window_ && hook_ && RegisterRawInputDevices(devices, 2, sizeof(devices[0]));
        // The queue exists once a message call was made; then stop() can reach this thread.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
        started.set_value(ok);
        if (ok) {
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            for (RAWINPUTDEVICE& device : devices) {
                device.dwFlags = RIDEV_REMOVE;
                device.hwndTarget = nullptr;
            }
            RegisterRawInputDevices(devices, 2, sizeof(devices[0]));
        }
        active = nullptr;
        if (hook_) UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
        if (window_) DestroyWindow(window_);
        window_ = nullptr;
    }

    Handlers handlers_;
    std::thread worker_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    HHOOK hook_ = nullptr;
    HookWatch watch_;
    bool told_ = false;
};

}  // namespace

std::unique_ptr<InputCapture> makeSystemInputCapture() {
    return std::make_unique<RawInputCapture>();
}

void removeMouseHookUnnoticed(InputCapture& capture) {
    if (auto* raw = dynamic_cast<RawInputCapture*>(&capture)) raw->dropHookUnnoticed();
}

}  // namespace macros
