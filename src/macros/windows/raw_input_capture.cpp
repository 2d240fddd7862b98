// Raw keyboard input (RIDEV_INPUTSINK, so keys typed into other windows arrive too) and a
// low-level mouse hook, on a thread of their own with a message-only window: every key and
// button, whichever window has the focus.
#include <windows.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include "keys/key_positions.h"
#include "macros/input_capture.h"

namespace macros {
namespace {

constexpr wchar_t kClassName[] = L"QuorvexRawInput";

class RawInputCapture;
// The low-level hook's procedure has no context of its own.
std::atomic<RawInputCapture*> active{nullptr};

class RawInputCapture : public InputCapture {
  public:
    ~RawInputCapture() override { stop(); }

    bool start(Handlers handlers) override {
        stop();
        handlers_ = std::move(handlers);
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

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INPUT) {
            if (RawInputCapture* self = active.load())
                self->rawInput(reinterpret_cast<HRAWINPUT>(lParam));
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    static LRESULT CALLBACK mouseHook(int code, WPARAM wParam, LPARAM lParam) {
        RawInputCapture* self = active.load();
        if (code == HC_ACTION && self) {
            const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
            self->mouse(static_cast<UINT>(wParam), HIWORD(info->mouseData));
        }
        // Every event goes on to the other programs.
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    void rawInput(HRAWINPUT input) {
        UINT size = 0;
        if (GetRawInputData(input, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 ||
            size < sizeof(RAWINPUTHEADER))
            return;
        std::vector<std::uint8_t> buffer(size);
        if (GetRawInputData(input, RID_INPUT, buffer.data(), &size, sizeof(RAWINPUTHEADER)) != size)
            return;
        const auto* raw = reinterpret_cast<const RAWINPUT*>(buffer.data());
        if (raw->header.dwType != RIM_TYPEKEYBOARD || !handlers_.key) return;
        const RAWKEYBOARD& k = raw->data.keyboard;
        // Pause's second half and the fake Shift around some E0 keys carry no key.
        if (k.VKey == 0xFF) return;
        // The key's position, not what the layout makes of it (on AZERTY the US "Q" key gives
        // VK_A); raw input names either side's Shift, Ctrl and Alt generically, as before.
        int vk = keys::scanCodeToPositionKey(keys::scanCodeOfRawInput(k.MakeCode, k.Flags));
        if (vk >= 0xA0 && vk <= 0xA5) vk = 0x10 + (vk - 0xA0) / 2;
        if (vk == 0) return;
        handlers_.key(vk, (k.Flags & RI_KEY_BREAK) == 0);
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
                break;  // movement and the wheel are not recorded
        }
    }

    void run(std::promise<bool>& started) {
        threadId_ = GetCurrentThreadId();
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = windowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kClassName;
        RegisterClassExW(&wc);
        HWND window = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      instance, nullptr);
        RAWINPUTDEVICE keyboard{1, 6, RIDEV_INPUTSINK, window};  // generic desktop, keyboard
        active = this;
        HHOOK hook = window ? SetWindowsHookExW(WH_MOUSE_LL, mouseHook, instance, 0) : nullptr;
        const bool ok = window && hook && RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard));
        // The queue exists once a message call was made; then stop() can reach this thread.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
        started.set_value(ok);
        if (ok) {
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            keyboard.dwFlags = RIDEV_REMOVE;
            keyboard.hwndTarget = nullptr;
            RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard));
        }
        active = nullptr;
        if (hook) UnhookWindowsHookEx(hook);
        if (window) DestroyWindow(window);
    }

    Handlers handlers_;
    std::thread worker_;
    DWORD threadId_ = 0;
};

}  // namespace

std::unique_ptr<InputCapture> makeSystemInputCapture() {
    return std::make_unique<RawInputCapture>();
}

}  // namespace macros
