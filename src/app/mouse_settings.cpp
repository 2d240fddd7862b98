// The three bars of the desktop's mouse settings on the Advanced Page.
#include "app/main_form.h"
#include "skin/pictures.h"

namespace app {
namespace {

const char* const kBars[] = {"Spd", "DbSpd", "ScrSpd"};
// The settings' names in the message that lists those the desktop did not take.
const char* const kBarNames[] = {"Str061", "Str062", "Str063"};
constexpr std::string_view kNotTakenMessage = "Str060";

}  // namespace

void TForm1::setupMouseSettings() {
    for (int bar = 0; bar < 3; ++bar) {
        for (int n = 1; n <= 10; ++n) {
            const auto clicked = [this, bar, n](ui::Control&) {
                MouseSettingBar_OnClick(static_cast<settings::MouseSettings::Bar>(bar), n);
            };
            control(std::string("Img_") + kBars[bar] + std::to_string(n)).onClick = clicked;
            control(std::string("lbl_") + kBars[bar] + std::to_string(n)).onClick = clicked;
        }
    }
}

void TForm1::showMouseSettingBar(settings::MouseSettings::Bar bar) {
    const int step = mouseSettings_.step(bar);
    for (int n = 1; n <= 10; ++n) {
        skin::showPicture(control(std::string("Img_") + kBars[bar] + std::to_string(n)),
                          n <= step ? "Bar1_E" : "Bar1_D");
    }
}

void TForm1::MouseSettingBar_OnClick(settings::MouseSettings::Bar bar, int step) {
    mouseSettings_.setStep(bar, step);
    showMouseSettingBar(bar);
}

void TForm1::RefreshMouseSystemParameters() {
    if (settingsStore_) {
        mouseSettings_.RefreshMouseSystemParameterA(*settingsStore_);
        mouseSettings_.RefreshMouseSystemParameterB(*settingsStore_);
    }
    for (auto bar : {settings::MouseSettings::Speed, settings::MouseSettings::DoubleClick,
                     settings::MouseSettings::Scroll}) {
        showMouseSettingBar(bar);
    }
}

void TForm1::ApplyMouseSystemParameters() {
    if (!settingsStore_) return;
    const auto refused = mouseSettings_.apply(*settingsStore_);
    if (refused.empty()) return;
    // One message for all of them, whatever becomes of the mouse's own write.
    std::string names;
    for (const auto bar : refused)
        names += (names.empty() ? "" : ", ") + languageText(kBarNames[bar]);
    std::string text = languageText(kNotTakenMessage);
    if (const auto at = text.find("%1"); at != std::string::npos) text.replace(at, 2, names);
    modal([&] { return host_.showMessage(text); });
}

}  // namespace app
