// The breathing and RGB light of the Breathing Page, and its share of the image.
#include "settings/light.h"
#include "app/main_form.h"
#include "skin/pictures.h"

#include <algorithm>

namespace app {
namespace {

const char* const kScales[] = {"Off", "Raise", "On", "Fall"};
const char* const kModes[] = {"Random", "Colorful", "Custom"};
const char* const kColour1Edits[] = {"Edt_Mode1R", "Edt_Mode1G", "Edt_Mode1B"};
const char* const kColour2Edits[] = {"Edt_Mode2R", "Edt_Mode2G", "Edt_Mode2B"};

// The number an edit holds, as the image takes it: leading digits, at most 255.
int editNumber(const std::string& text) {
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        v = v * 10 + (c - '0');
        if (v > 255) return 255;
    }
    return v;
}

}  // namespace

void TForm1::setupLight() {
    for (int m = 0; m < 3; ++m)
        control(std::string("lbl_") + kModes[m]).onClick = [this, m](ui::Control&) {
            RGBMode_OnClick(m);
        };
    for (int scale = 0; scale < 4; ++scale) {
        for (int n = 1; n <= 10; ++n) {
            const auto clicked = [this, scale, n](ui::Control&) { TimeBar_OnClick(scale, n); };
            // The bar and its digit below it both set the step.
            control(std::string("Img_") + kScales[scale] + std::to_string(n)).onClick = clicked;
            control(std::string("lbl_") + kScales[scale] + std::to_string(n)).onClick = clicked;
        }
    }
    control("lbl_LEDColMode1").onClick = [this](ui::Control&) { LEDColModeChange(1); };
    control("lbl_LEDColMode2").onClick = [this](ui::Control&) { LEDColModeChange(2); };
    for (const char* e : kColour1Edits) {
        control(e).setCaption("100");
        control(e).onChange = [this](ui::Control& edit) {
            keepDigits(edit);
            RGBParaValue_OnClick(edit);
            showLightColour();
        };
    }
    for (const char* e : kColour2Edits) {
        control(e).setCaption("0");
        control(e).setReadOnly(true);
    }
    RGBMode_OnClick(0);
    LEDColModeChange(1);
}

void TForm1::RGBMode_OnClick(int mode) {
    control("gbLED").setItemIndex(mode);
    for (int m = 0; m < 3; ++m)
        skin::showPicture(control(std::string("Img_") + kModes[m]), m == mode ? "RdS_E" : "RdS_D");
    showLightColour();
}

void TForm1::showLightStep(int scale, int step) {
    lightSteps_[static_cast<std::size_t>(scale)] = step;
    for (int n = 1; n <= 10; ++n) {
        skin::showPicture(control(std::string("Img_") + kScales[scale] + std::to_string(n)),
                          n <= step ? "Bar1_E" : "Bar1_D");
    }
}

void TForm1::TimeBar_OnClick(int scale, int step) {
    showLightStep(scale, step);
}

void TForm1::LEDColModeChange(int colourMode) {
    control("gbLEDColMode").setItemIndex(colourMode - 1);
    skin::showPicture(control("Img_LEDColMode1"), colourMode == 1 ? "RdS_E" : "RdS_D");
    skin::showPicture(control("Img_LEDColMode2"), colourMode == 2 ? "RdS_E" : "RdS_D");
    for (const char* e : kColour1Edits) control(e).setReadOnly(colourMode != 1);
    showLightColour();
}

std::optional<ui::Color> TForm1::lightColour() const {
    // Only a custom colour is one colour; the other modes run through seven.
    if (!lightAvailable_ || control("gbLED").itemIndex() != 2) return std::nullopt;
    const bool editorColour = control("gbLEDColMode").itemIndex() == 0;
    const char* const* edits = editorColour ? kColour1Edits : kColour2Edits;
    std::uint8_t rgb[3];
    for (std::size_t i = 0; i < 3; ++i) {
        const int v = editNumber(control(edits[i]).caption());
        // Colour mode 1 gives each channel as a share of full brightness.
        rgb[i] = static_cast<std::uint8_t>(editorColour ? (std::min(v, 100) * 255 + 50) / 100 : v);
    }
    return ui::Color{rgb[0], rgb[1], rgb[2]};
}

void TForm1::showLightColour() {
    control("Img_LightRing").setTint(lightColour());
}

void TForm1::RGBParaValue_OnClick(ui::Control& edit) {
    const std::string corrected = settings::correctColourText(edit.caption());
    if (corrected != edit.caption()) edit.setCaption(corrected);
}

void TForm1::setLightAvailable(bool available) {
    // Where the image says the light is not set from here, the page says so instead of taking
    // clicks that would be dropped when the image is built.
    lightAvailable_ = available;
    for (const auto& name : lightControls()) control(name).setEnabled(available);
    control("lbl_NoLight").setVisible(!available && control("Img_P3").visible());
    showLightColour();
}

std::vector<std::string> TForm1::lightControls() const {
    std::vector<std::string> names;
    for (const char* scale : kScales) {
        for (int n = 1; n <= 10; ++n) {
            names.push_back(std::string("Img_") + scale + std::to_string(n));
            names.push_back(std::string("lbl_") + scale + std::to_string(n));
        }
    }
    for (const char* m : kModes) names.push_back(std::string("lbl_") + m);
    for (const char* m : {"lbl_LEDColMode1", "lbl_LEDColMode2"}) names.push_back(m);
    for (const char* e : kColour1Edits) names.push_back(e);
    for (const char* e : kColour2Edits) names.push_back(e);
    return names;
}

void TForm1::lightToControls() {
    const std::optional<settings::Light> light = settings::readLight(image_.sectionBuf);
    setLightAvailable(light.has_value());
    if (!light) return;  // this mouse has no light to set
    RGBMode_OnClick(light->mode);
    for (int scale = 0; scale < 4; ++scale)
        showLightStep(scale, light->steps[static_cast<std::size_t>(scale)]);
    LEDColModeChange(light->colourMode);
    for (std::size_t i = 0; i < 3; ++i) {
        control(kColour1Edits[i]).setCaption(std::to_string(light->colour1[i]));
        control(kColour2Edits[i]).setCaption(std::to_string(light->colour2[i]));
    }
    showLightColour();
}

void TForm1::lightToImage() {
    settings::Light light;
    light.mode = control("gbLED").itemIndex();
    for (std::size_t scale = 0; scale < 4; ++scale) light.steps[scale] = lightSteps_[scale];
    light.colourMode = control("gbLEDColMode").itemIndex() == 0 ? 1 : 2;
    for (std::size_t i = 0; i < 3; ++i) {
        light.colour1[i] = editNumber(control(kColour1Edits[i]).caption());
        light.colour2[i] = editNumber(control(kColour2Edits[i]).caption());
    }
    settings::writeLight(image_.sectionBuf, light);
}

}  // namespace app
