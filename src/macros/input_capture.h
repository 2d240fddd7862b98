#pragma once
// System-wide keyboard and mouse input while a macro is recorded: keys typed and buttons
// clicked in any window. Platform layers implement it (XInput2 raw events on X11).
#include <functional>
#include <memory>
#include <string_view>

#include "macros/recorder.h"

namespace macros {

class InputCapture {
  public:
    struct Handlers {
        // A key went down or up (by its position: the virtual-key code a US keyboard has there;
        // keys without a position are not delivered; the generic Shift, Ctrl and Alt
        // codes for either side, as raw keyboard input gives them).
        std::function<void(int virtualKey, bool down)> key;
        std::function<void(MouseButton button, bool down)> mouse;
        // The system stopped handing the capture part of the input for a while (Windows
        // removes a mouse hook that took too long, without a word), so events may be missing
        // from the recording. Called at most once per start.
        std::function<void()> inputLost;
    };
    virtual ~InputCapture() = default;
    // Starts delivering events; the handlers may run on another thread. False when the
    // platform gives no system-wide input.
    virtual bool start(Handlers handlers) = 0;
    // Stops, and waits until no handler runs any more.
    virtual void stop() = 0;
};

// The platform's capture, or null where there is none (a Wayland session, another platform).
std::unique_ptr<InputCapture> makeSystemInputCapture();

// From XDG_SESSION_TYPE and WAYLAND_DISPLAY (empty when unset). Under Wayland, XInput2 on
// Xwayland hears X clients only, never the programs the user types into: a recording there
// keeps to the editor's own window rather than hear nothing.
inline bool waylandSession(std::string_view sessionType, std::string_view waylandDisplay) {
    return sessionType == "wayland" || !waylandDisplay.empty();
}

}  // namespace macros
