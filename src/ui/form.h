#pragma once
// A window's model: named controls in z-order, hit-testing, and the pointer and keyboard input
// turned into the controls' events. The Qt view and the tests drive the same code.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace ui {

class Form {
  public:
    explicit Form(std::string name) : name_(std::move(name)) {}
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form() = default;

    const std::string& name() const { return name_; }

    // Adds a control above every control of its class created so far.
    Control& add(ControlKind kind, std::string name, Control* parent = nullptr);
    Control* find(std::string_view name) const;
    // The control of that name; a missing name is a programming error and aborts.
    Control& at(std::string_view name) const;
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // Puts the control above the others of its class (labels and pictures, or windowed).
    void bringToFront(Control& c);

    // Top-level controls (or a parent's children), bottom first: labels and pictures by z,
    // then windowed controls by z.
    std::vector<Control*> paintOrder(const Control* parent = nullptr) const;

    // The topmost showing control at a point in form coordinates, or null. A container's
    // children lie above it.
    Control* hitTest(int x, int y) const;

    // Pointer input in form coordinates. Enter and leave follow from the moves; a click is a
    // press and release over the same control. Disabled controls, and those in a disabled
    // container, take the pointer but fire nothing.
    void pointerMove(int x, int y);
    void pointerDown(int x, int y, MouseButton button);
    void pointerUp(int x, int y, MouseButton button);
    void pointerLeft();
    Control* hovered() const { return hovered_; }

    // Keyboard input for the focused control, unless it or a container of it is disabled.
    // keyPress returns the character after the handler (0 when it was dropped).
    char32_t keyPress(char32_t ch);
    int keyDown(int key, KeyState state = {});
    // Every key (virtual-key code) and mouse button going down or up anywhere in the window,
    // before its controls see it; hosts that deliver them say so (Host::deliversWindowInput).
    std::function<void(int virtualKey, bool down)> onWindowKey;
    std::function<void(MouseButton button, bool down)> onWindowButton;
    void windowKey(int virtualKey, bool down) {
        if (onWindowKey) onWindowKey(virtualKey, down);
    }
    void windowButton(MouseButton button, bool down) {
        if (onWindowButton) onWindowButton(button, down);
    }
    // The program gives a control the focus (a dialog opens, a handler asks for it): the hosts
    // move the native focus after it. Each call counts, even for the control that has it, since
    // the native focus may have gone elsewhere meanwhile.
    void setFocus(Control* c);
    // The native focus moved on its own (the user clicked a control, the window lost the focus):
    // the model follows, and the hosts have nothing to move.
    void focusMoved(Control* c);
    Control* focus() const { return focus_; }
    // The control of the last setFocus and how many there were: the native focus may report
    // other moves (a window restoring its last focus as it shows) before the host follows.
    Control* focusRequest() const { return focusRequest_; }
    std::uint64_t focusRevision() const { return focusRevision_; }

    // The window itself.
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c) { caption_ = std::move(c); }
    const Rect& bounds() const { return bounds_; }
    void setBounds(Rect r) { bounds_ = r; }
    bool visible() const { return visible_; }
    void setVisible(bool v) { visible_ = v; }
    // How the window behaves on the desktop.
    enum class Role {
        Main,      // the main window
        Floating,  // always on top, never takes the focus (the wait window)
        Dialog,    // always on top, takes the focus (the small dialogs)
    };
    Role role() const { return role_; }
    void setRole(Role r) { role_ = r; }

    // Repaint bookkeeping: the form area changed since the last takeDirty().
    std::uint64_t revision() const { return revision_; }
    std::vector<Rect> takeDirty();
    void invalidate(const Rect& r);

  private:
    friend class Control;
    void touched(Control& c);
    Control* hitIn(const std::vector<Control*>& order, int x, int y) const;

    std::string name_;
    std::vector<std::unique_ptr<Control>> controls_;
    // Windows look their controls up by name all the time: hundreds of them on the main window.
    std::map<std::string, Control*, std::less<>> byName_;
    int nextZ_ = 0;
    Control* hovered_ = nullptr;
    Control* pressed_ = nullptr;
    Control* focus_ = nullptr;
    Control* focusRequest_ = nullptr;
    std::uint64_t focusRevision_ = 0;
    std::string caption_;
    Rect bounds_;
    bool visible_ = false;
    Role role_ = Role::Main;
    std::uint64_t revision_ = 1;
    std::vector<Rect> dirty_;
};

}  // namespace ui
