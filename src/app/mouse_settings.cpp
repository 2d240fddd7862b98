// The three bars of the desktop's mouse settings on the Advanced Page.
#include "app/main_form.h"
#include "skin/pictures.h"

namespace app {
namespace {

const char* const kBars[] = {"Spd", "DbSpd", "ScrSpd"};

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
    if (settingsStore_) mouseSettings_.apply(*settingsStore_);
}

}  // namespace app
