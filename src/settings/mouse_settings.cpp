#include "settings/mouse_settings.h"

#include <charconv>

namespace settings {
namespace {

constexpr std::array<int, 10> kSensitivity{1, 2, 4, 6, 8, 10, 12, 14, 16, 18};
constexpr std::array<int, 10> kDoubleClick{900, 830, 760, 690, 620, 550, 480, 410, 340, 270};
constexpr std::array<int, 10> kScrollLines{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
// The pointer speeds the system takes.
constexpr int kMinSensitivity = 1;
constexpr int kMaxSensitivity = 20;

const std::array<int, 10>& table(MouseSettings::Bar bar) {
    return bar == MouseSettings::Speed         ? kSensitivity
           : bar == MouseSettings::DoubleClick ? kDoubleClick
                                               : kScrollLines;
}

// A value that is not a decimal number leaves what it would set as it was.
std::optional<int> number(MouseSettingsStore& store, const std::string& name) {
    const auto text = store.readString(name);
    if (!text) return std::nullopt;
    int v = 0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), v);
    if (ec != std::errc() || end != text->data() + text->size()) return std::nullopt;
    return v;
}

}  // namespace

int valueOfStep(MouseSettings::Bar bar, int step) {
    return step >= 1 && step <= 10 ? table(bar)[static_cast<std::size_t>(step - 1)] : 0;
}

int stepOfValue(MouseSettings::Bar bar, int value) {
    for (int i = 0; i < 10; ++i) {
        if (table(bar)[static_cast<std::size_t>(i)] == value) return i + 1;
    }
    return 0;
}

void MouseSettings::RefreshMouseSystemParameterA(MouseSettingsStore& store) {
    if (!store.openKey("Control Panel\\Mouse")) return;
    if (const auto v = number(store, "MouseSensitivity")) {
        sensitivity_ = *v;
        if (const int s = stepOfValue(Speed, *v)) steps_[Speed] = s;
    }
    const auto acceleration = number(store, "MouseSpeed");
    const auto threshold1 = number(store, "MouseThreshold1");
    const auto threshold2 = number(store, "MouseThreshold2");
    if (acceleration) acceleration_ = *acceleration;
    if (threshold1) threshold1_ = *threshold1;
    if (threshold2) threshold2_ = *threshold2;
    accelerationRead_ = accelerationRead_ || (acceleration && threshold1 && threshold2);
    if (const auto v = number(store, "DoubleClickSpeed")) {
        doubleClickTime_ = *v;
        if (const int s = stepOfValue(DoubleClick, *v)) steps_[DoubleClick] = s;
    }
    store.closeKey();
}

void MouseSettings::RefreshMouseSystemParameterB(MouseSettingsStore& store) {
    if (!store.openKey("Control Panel\\Desktop")) return;
    if (const auto v = number(store, "WheelScrollLines")) {
        scrollLines_ = *v;
        if (const int s = stepOfValue(Scroll, *v)) steps_[Scroll] = s;
    }
    store.closeKey();
}

std::vector<MouseSettings::Bar> MouseSettings::apply(MouseSettingsStore& store) {
    std::vector<Bar> refused;
    // A value the store did not take is not handed to the running system either, so that the
    // session and the stored settings stay alike.
    const auto write = [&](Bar bar, const char* name, int& held) {
        const int v = valueOfStep(bar, steps_[bar]);
        if (!v) return;
        if (store.writeString(name, std::to_string(v)))
            held = v;
        else
            refused.push_back(bar);
    };
    const auto chosen = [this](Bar bar) { return valueOfStep(bar, steps_[bar]) != 0; };
    if (store.openKey("Control Panel\\Mouse")) {
        write(Speed, "MouseSensitivity", sensitivity_);
        write(DoubleClick, "DoubleClickSpeed", doubleClickTime_);
        store.closeKey();
    } else {
        for (Bar bar : {Speed, DoubleClick})
            if (chosen(bar)) refused.push_back(bar);
    }
    if (store.openKey("Control Panel\\Desktop")) {
        write(Scroll, "WheelScrollLines", scrollLines_);
        store.closeKey();
    } else if (chosen(Scroll)) {
        refused.push_back(Scroll);
    }
    // A value nobody read or chose (still 0), or one the system cannot take, never reaches it:
    // handing over a 0 would change the desktop to something the user never had.
    if (sensitivity_ >= kMinSensitivity && sensitivity_ <= kMaxSensitivity)
        store.setMouseSpeed(sensitivity_);
    if (accelerationRead_) store.setMouse(threshold1_, threshold2_, acceleration_);
    if (doubleClickTime_ > 0) store.setDoubleClickTime(doubleClickTime_);
    if (scrollLines_ != 0) store.setWheelScrollLines(scrollLines_);
    return refused;
}

}  // namespace settings
