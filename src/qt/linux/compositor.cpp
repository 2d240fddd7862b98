#include "qt/linux/compositor.h"

// Qt before Xlib, whose macros (Status, Bool) Qt's headers would otherwise meet.
#include <QGuiApplication>
#include <string>

#include <X11/Xlib.h>

namespace qtui {

bool desktopBlendsWindows() {
    // Other platforms (Wayland, offscreen) blend, or have nothing to show through.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return true;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return true;
    // A compositing manager owns this selection for the screen it composites (EWMH).
    const std::string selection = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display));
    return XGetSelectionOwner(display, XInternAtom(display, selection.c_str(), False)) != None;
}

}  // namespace qtui
