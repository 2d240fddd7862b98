// DPI levels and report rate of the Advanced Page, and their share of the image.
#include <algorithm>
#include <vector>

#include "app/main_form.h"
#include "image/sections.h"
#include "skin/pictures.h"

namespace app {
namespace {

constexpr std::size_t kDpiSlots = 10;    // four DPI codes at image offsets 10-13
constexpr std::size_t kCurrentDpi = 27;  // position of the current level
constexpr int kCodeCount = 12;

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

void TForm1::dpiToControls() {
    const auto& s = image_.sectionBuf;
    std::vector<std::string> texts;
    for (std::size_t slot = 0; slot < 4; ++slot) {
        const int code = s[kDpiSlots + slot];
        texts.push_back(code < kCodeCount ? languageText("Str" + std::to_string(320 + code))
                                          : std::string());
    }
    selectedDpiCount_ = 0;
    std::vector<int> enabled;
    for (int n = 1; n <= 8; ++n) {
        const std::string& caption = control("lbl_DPI" + levelName(n)).caption();
        bool selected = false;
        for (const std::string& t : texts) selected |= !t.empty() && t == caption;
        showDpiLevel(n, selected);
        if (selected) {
            ++selectedDpiCount_;
            enabled.push_back(n);
        }
    }
    // Too few levels to show: the mouse's levels stay as they are until the user takes them
    // over with a click, rather than being written back empty.
    dpiKept_ = enabled.size() < 2;
    const std::size_t position = s[kCurrentDpi];
    if (position <= 3 && position < enabled.size()) setCurrentDpi(enabled[position]);
    markLowestIfCurrentUnselected();
    if (s[image::kReportRateByte] == 1) {
        showReportRate(1);
        rememberedReportRate_ = 1000;
    } else if (s[image::kReportRateByte] == 2) {
        showReportRate(2);
        rememberedReportRate_ = 500;
    }
}

void TForm1::dpiToImage() {
    auto& s = image_.sectionBuf;
    if (!dpiKept_) {
        std::vector<int> selected;
        for (int n = 1; n <= 8; ++n) {
            if (dpiLevelSelected(n)) selected.push_back(n);
        }
        for (std::size_t slot = 0; slot < 4; ++slot) {
            if (slot >= selected.size()) {
                s[kDpiSlots + slot] = 0xFF;
                continue;
            }
            const std::string& caption = control("lbl_DPI" + levelName(selected[slot])).caption();
            for (int code = 0; code < kCodeCount; ++code) {
                if (languageText("Str" + std::to_string(320 + code)) == caption) {
                    s[kDpiSlots + slot] = static_cast<image::Byte>(code);
                    break;
                }
            }
        }
        // The current level's place among the selected ones; a mark on no selected level
        // names the lowest, so the byte never points past the levels.
        const auto current = std::find(selected.begin(), selected.end(), currentDpiLevel());
        const auto position = current == selected.end() ? 0 : current - selected.begin();
        s[kCurrentDpi] = static_cast<image::Byte>(std::min<std::ptrdiff_t>(position, 3));
    }
    const bool thousand = control("gbReport").itemIndex() == 0;
    s[image::kReportRateByte] = thousand ? 1 : 2;
    const int rate = thousand ? 1000 : 500;
    if (rememberedReportRate_ != rate) {
        rememberedReportRate_ = rate;
        link_.setReportRateChanged(true);
    }
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
