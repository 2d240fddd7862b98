// XInput2 raw events: every key and button of every device, whichever window has the focus.
// Our headers first: Xlib's macros (None, Bool, ...) would clash with names in them.
#include "keys/key_positions.h"
#include "macros/input_capture.h"

#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace macros {
namespace {

constexpr KeySym kIsoLevel3Shift = 0xFE03;  // AltGr

class XInputCapture : public InputCapture {
  public:
    ~XInputCapture() override { stop(); }

    bool start(Handlers handlers) override {
        stop();
        display_ = XOpenDisplay(nullptr);
        if (!display_) return false;
        int event = 0, error = 0;
        // 2.1 and later deliver raw events also while another client holds a grab, as the
        // implicit grab of every button press is.
        int major = 2, minor = 2;
        if (!XQueryExtension(display_, "XInputExtension", &opcode_, &event, &error) ||
            XIQueryVersion(display_, &major, &minor) != Success) {
            XCloseDisplay(display_);
            display_ = nullptr;
            return false;
        }
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
        XISetMask(bits, XI_RawButtonPress);
        XISetMask(bits, XI_RawButtonRelease);
        XIEventMask mask{XIAllMasterDevices, sizeof(bits), bits};
        XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
        XFlush(display_);
        if (pipe(wake_) != 0) {
            XCloseDisplay(display_);
            display_ = nullptr;
            return false;
        }
        handlers_ = std::move(handlers);
        thread_ = std::thread([this] { run(); });
        return true;
    }

    void stop() override {
        if (thread_.joinable()) {
            const char byte = 1;
            [[maybe_unused]] const auto n = write(wake_[1], &byte, 1);
            thread_.join();
        }
        if (wake_[0] >= 0) {
            close(wake_[0]);
            close(wake_[1]);
            wake_[0] = wake_[1] = -1;
        }
        if (display_) {
            XCloseDisplay(display_);
            display_ = nullptr;
        }
    }

  private:
    void run() {
        pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wake_[0], POLLIN, 0}};
        for (;;) {
            while (XPending(display_)) {
                XEvent e;
                XNextEvent(display_, &e);
                handle(e);
            }
            if (poll(fds, 2, -1) < 0) continue;
            if (fds[1].revents) return;
        }
    }

    void handle(XEvent& e) {
        XGenericEventCookie* cookie = &e.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != opcode_ ||
            !XGetEventData(display_, cookie))
            return;
        const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
        switch (cookie->evtype) {
            case XI_RawKeyPress:
            case XI_RawKeyRelease: {
                // The key's position, not what the layout types there: the keycode is the
                // evdev code + 8. Keys without a position (media keys) are left out.
                // AltGr is a modifier wherever the layout puts it, as in the window.
                const bool altGr = XkbKeycodeToKeysym(display_, static_cast<KeyCode>(raw->detail),
                                                      0, 0) == kIsoLevel3Shift;
                const int vk =
                    genericVirtualKey(altGr ? 0xA5 : keys::evdevCodeToPositionKey(raw->detail - 8));
                if (vk != 0 && handlers_.key) handlers_.key(vk, cookie->evtype == XI_RawKeyPress);
                break;
            }
            case XI_RawButtonPress:
            case XI_RawButtonRelease: {
                MouseButton button;
                switch (raw->detail) {
                    case 1:
                        button = MouseButton::Left;
                        break;
                    case 2:
                        button = MouseButton::Middle;
                        break;
                    case 3:
                        button = MouseButton::Right;
                        break;
                    case 8:
                        button = MouseButton::Backward;
                        break;  // the first extra button
                    case 9:
                        button = MouseButton::Forward;
                        break;
                    default:
                        XFreeEventData(display_, cookie);
                        return;  // wheel and others
                }
                if (handlers_.mouse) handlers_.mouse(button, cookie->evtype == XI_RawButtonPress);
                break;
            }
            default:
                break;
        }
        XFreeEventData(display_, cookie);
    }

    Display* display_ = nullptr;
    int opcode_ = 0;
    int wake_[2] = {-1, -1};
    std::thread thread_;
    Handlers handlers_;
};

}  // namespace

std::unique_ptr<InputCapture> makeSystemInputCapture() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (waylandSession(type ? type : "", wayland ? wayland : "")) return nullptr;
    return std::make_unique<XInputCapture>();
}

}  // namespace macros
