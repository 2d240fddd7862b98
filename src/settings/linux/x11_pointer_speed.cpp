#include "settings/linux/x11_pointer_speed.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace settings {
namespace {

constexpr const char* kProperty = "libinput Accel Speed";

Display* display(void* p) {
    return static_cast<Display*>(p);
}

// The device's speed, when it has the property as one 32-bit float.
std::optional<float> accelSpeed(Display* d, int device) {
    const Atom property = XInternAtom(d, kProperty, True);
    const Atom floatType = XInternAtom(d, "FLOAT", True);
    if (property == None || floatType == None) return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XIGetProperty(d, device, property, 0, 1, False, floatType, &type, &format, &items, &after,
                      &data) != Success)
        return std::nullopt;
    std::optional<float> speed;
    if (type == floatType && format == 32 && items == 1) speed = *reinterpret_cast<float*>(data);
    if (data) XFree(data);
    return speed;
}

}  // namespace

std::unique_ptr<X11PointerSpeed> X11PointerSpeed::open() {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return nullptr;
    int opcode = 0, event = 0, error = 0, major = 2, minor = 0;
    std::vector<int> devices;
    if (XQueryExtension(d, "XInputExtension", &opcode, &event, &error) &&
        XIQueryVersion(d, &major, &minor) == Success) {
        int count = 0;
        if (XIDeviceInfo* info = XIQueryDevice(d, XIAllDevices, &count)) {
            for (int i = 0; i < count; ++i) {
                if (info[i].use == XISlavePointer && accelSpeed(d, info[i].deviceid))
                    devices.push_back(info[i].deviceid);
            }
            XIFreeDeviceInfo(info);
        }
    }
    if (devices.empty()) {
        XCloseDisplay(d);
        return nullptr;
    }
    return std::unique_ptr<X11PointerSpeed>(new X11PointerSpeed(d, std::move(devices)));
}

X11PointerSpeed::~X11PointerSpeed() {
    XCloseDisplay(display(display_));
}

std::optional<int> X11PointerSpeed::read(DesktopSetting setting) {
    if (setting != DesktopSetting::PointerSpeed) return std::nullopt;
    const auto speed = accelSpeed(display(display_), devices_.front());
    if (!speed) return std::nullopt;
    return sensitivityOfSpeed(*speed);
}

bool X11PointerSpeed::write(DesktopSetting setting, int value) {
    if (setting != DesktopSetting::PointerSpeed) return false;
    Display* d = display(display_);
    const Atom property = XInternAtom(d, kProperty, True);
    const Atom floatType = XInternAtom(d, "FLOAT", True);
    if (property == None || floatType == None) return false;
    float speed = static_cast<float>(speedOfSensitivity(value));
    for (const int device : devices_) {
        XIChangeProperty(d, device, property, floatType, 32, PropModeReplace,
                         reinterpret_cast<unsigned char*>(&speed), 1);
    }
    XSync(d, False);
    // The server reports a refused change only asynchronously: read it back instead.
    const auto now = accelSpeed(d, devices_.front());
    return now && *now == speed;
}

}  // namespace settings
