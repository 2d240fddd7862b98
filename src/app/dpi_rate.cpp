// DPI levels and report rate of the Advanced Page, and their share of the image.
#include "settings/dpi_rate.h"
#include "app/main_form.h"
#include "skin/pictures.h"

namespace app {
namespace {

std::string levelName(int level) {
    return std::to_string(level);
}

}  // namespace

void TForm1::setupDpi() {
    for (int n = 1; n <= 8; ++n) {
        control("lbl_DPI" + levelName(n)).onClick = [this, n](ui::Control&) {
            DPILevel_OnClick(n);
        };
        control("Img_DPI" + levelName(n)).onClick = [this, n](ui::Control&) {
            CurrentDPI_OnClick(n);
        };
    }
    control("lbl_Rep1").onClick = [this](ui::Control&) { ReportRate_OnClick(1); };
    control("lbl_Rep2").onClick = [this](ui::Control&) { ReportRate_OnClick(2); };
}

int TForm1::currentDpiLevel() const {
    return control("gbDPI").itemIndex() + 1;
}

void TForm1::showDpiLevel(int level, bool selected) {
    dpiSelected_[static_cast<std::size_t>(level - 1)] = selected;
    control("lbl_DPI" + levelName(level))
        .setFontColor(selected ? kept_.dpiSelected : kept_.dpiNotSelected);
    control("Img_DPI" + levelName(level)).setEnabled(selected);
}

void TForm1::setCurrentDpi(int level) {
    control("gbDPI").setItemIndex(level - 1);
    for (int n = 1; n <= 8; ++n) {
        skin::showPicture(control("Img_DPI" + levelName(n)), n == level ? "Bar2_E" : "Bar2_D");
    }
}

void TForm1::showReportRate(int rate) {
    control("gbReport").setItemIndex(rate - 1);
    skin::showPicture(control("Img_Rep1"), rate == 1 ? "RdS_E" : "RdS_D");
    skin::showPicture(control("Img_Rep2"), rate == 2 ? "RdS_E" : "RdS_D");
}

settings::DpiTexts TForm1::dpiTexts() const {
    settings::DpiTexts texts;
    for (int n = 1; n <= 8; ++n)
        texts.levels[static_cast<std::size_t>(n - 1)] = control("lbl_DPI" + levelName(n)).caption();
    for (std::size_t code = 0; code < texts.codes.size(); ++code)
        texts.codes[code] = languageText("Str" + std::to_string(320 + code));
    return texts;
}

void TForm1::dpiToControls() {
    const settings::DpiShown shown = settings::readDpiRate(image_.sectionBuf, dpiTexts());
    selectedDpiCount_ = 0;
    for (int n = 1; n <= 8; ++n) {
        const bool selected = shown.selected[static_cast<std::size_t>(n - 1)];
        showDpiLevel(n, selected);
        if (selected) ++selectedDpiCount_;
    }
    // Too few levels to show: the mouse's levels stay as they are until the user takes them
    // over with a click, rather than being written back empty.
    dpiKept_ = shown.kept;
    if (shown.current != 0) setCurrentDpi(shown.current);
    markLowestIfCurrentUnselected();
    if (shown.rate != 0) {
        showReportRate(shown.rate);
        rememberedReportRate_ = settings::rateHz(shown.rate);
    }
}

void TForm1::dpiToImage() {
    auto& s = image_.sectionBuf;
    if (!dpiKept_) settings::writeDpi(s, dpiSelected_, currentDpiLevel(), dpiTexts());
    const int rate = control("gbReport").itemIndex() == 0 ? 1 : 2;
    if (settings::writeRate(s, rate, rememberedReportRate_)) link_.setReportRateChanged(true);
}

void TForm1::DPILevel_OnClick(int level) {
    const bool selected = dpiLevelSelected(level);
    if (!selected && selectedDpiCount_ >= 4) return;
    if (selected && selectedDpiCount_ <= 2) return;
    dpiKept_ = false;
    showDpiLevel(level, !selected);
    selectedDpiCount_ += selected ? -1 : 1;
    if (selected && currentDpiLevel() == level)
        skin::showPicture(control("Img_DPI" + levelName(level)), "Bar2_D");
    markLowestIfCurrentUnselected();
}

void TForm1::markLowestIfCurrentUnselected() {
    const int current = currentDpiLevel();
    if (current >= 1 && current <= 8 && dpiLevelSelected(current)) return;
    for (int n = 1; n <= 8; ++n) {
        if (dpiLevelSelected(n)) {
            setCurrentDpi(n);
            return;
        }
    }
}

void TForm1::CurrentDPI_OnClick(int level) {
    if (!dpiLevelSelected(level) || !control("Img_DPI" + levelName(level)).enabled()) return;
    dpiKept_ = false;
    setCurrentDpi(level);
}

void TForm1::ReportRate_OnClick(int rate) {
    showReportRate(rate);
}

}  // namespace app
