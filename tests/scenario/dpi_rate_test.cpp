// DPI levels and report rate: from the image to the Advanced Page and back.
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "fake_host.h"
#include "image/conversion.h"
#include "sim/sim_presets.h"

namespace scenario {
namespace {

struct Dpi : ::testing::Test {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    app::TForm1 form{host, mouse};
    void SetUp() override { form.FormCreate(); }
    image::SectionBuf& s() { return form.editorImage().sectionBuf; }
    // Shows an image with these DPI bytes and rate, as a read would.
    void show(std::array<image::Byte, 4> codes, image::Byte current, image::Byte rate) {
        auto& img = form.editorImage().dataBuf.image;
        std::copy(codes.begin(), codes.end(), img.begin() + 10);
        img[27] = current;
        img[28] = rate;
        image::DataBufToUI(form.editorImage(), form.link().conversionContext(), form);
    }
    void compose() {
        image::ComposeDataBuf(form.editorImage(), form.link().conversionContext(), form);
    }
    std::vector<int> selected() {
        std::vector<int> levels;
        for (int n = 1; n <= 8; ++n) {
            if (form.dpiLevelSelected(n)) levels.push_back(n);
        }
        return levels;
    }
};

TEST_F(Dpi, BuiltInImageShowsItsFourLevels) {
    // Table 1 names codes 4, 6, 8, 10 "1000", "2400", "3200", "5200": levels 3, 5, 6 and 8.
    EXPECT_EQ(selected(), (std::vector<int>{3, 5, 6, 8}));
    EXPECT_EQ(form.currentDpiLevel(), 8);
    EXPECT_EQ(form.at("Img_DPI8").picture(), "Bar2_E");
    EXPECT_EQ(form.at("Img_DPI3").picture(), "Bar2_D");
    EXPECT_TRUE(form.at("Img_DPI3").enabled());
    EXPECT_FALSE(form.at("Img_DPI1").enabled());
    EXPECT_EQ(form.at("lbl_DPI3").font().color, (ui::Color{255, 0, 0}));
    EXPECT_EQ(form.at("Img_Rep2").picture(), "RdS_E") << "rate code 2 is 500 Hz";
}

TEST_F(Dpi, CodesWithoutALevelAreDroppedAndSlotsRefilled) {
    show({2, 5, 0xFF, 0xFF}, 1, 1);
    // Table 1: code 2 is "600" (level 1), code 5 "1600" (level 4).
    EXPECT_EQ(selected(), (std::vector<int>{1, 4}));
    EXPECT_EQ(form.currentDpiLevel(), 4);
    compose();
    const auto& out = form.editorImage().dataBuf.image;
    EXPECT_EQ((std::vector<int>{out[10], out[11], out[12], out[13], out[27]}),
              (std::vector<int>{2, 5, 255, 255, 1}));

    show({7, 4, 0, 9}, 0, 1);  // 2000 and 200 are no level
    EXPECT_EQ(selected(), (std::vector<int>{3, 7}));
    compose();
    EXPECT_EQ((std::vector<int>{out[10], out[11], out[12], out[13]}),
              (std::vector<int>{4, 9, 255, 255}));
}

TEST_F(Dpi, ClicksKeepTwoToFourLevels) {
    form.DPILevel_OnClick(1);
    EXPECT_EQ(selected(), (std::vector<int>{3, 5, 6, 8})) << "a fifth level is refused";
    form.DPILevel_OnClick(8);  // the current one
    EXPECT_EQ(selected(), (std::vector<int>{3, 5, 6}));
    EXPECT_EQ(form.currentDpiLevel(), 3) << "the lowest selected level becomes current";
    EXPECT_EQ(form.at("Img_DPI3").picture(), "Bar2_E");
    EXPECT_EQ(form.at("Img_DPI8").picture(), "Bar2_D");
    form.DPILevel_OnClick(5);
    form.DPILevel_OnClick(6);
    EXPECT_EQ(selected(), (std::vector<int>{3, 6})) << "two levels stay";
    form.CurrentDPI_OnClick(6);
    EXPECT_EQ(form.currentDpiLevel(), 6);
    form.CurrentDPI_OnClick(2);
    EXPECT_EQ(form.currentDpiLevel(), 6) << "an unselected level's picture takes no click";
    compose();
    EXPECT_EQ(form.editorImage().dataBuf.image[27], 1);
}

TEST_F(Dpi, ChangingTheRateSetsTheReloadFlagOnce) {
    show({4, 6, 8, 10}, 3, 1);
    form.ReportRate_OnClick(2);
    compose();
    EXPECT_EQ(form.editorImage().dataBuf.image[28], 2);
    EXPECT_TRUE(form.link().reportRateChanged());
    form.link().setReportRateChanged(false);
    compose();
    EXPECT_FALSE(form.link().reportRateChanged()) << "the same rate again";
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

TEST_F(Dpi, MouseSettingBarsFillUpToTheClickedStep) {
    form.MouseSettingBar_OnClick(settings::MouseSettings::Scroll, 3);
    EXPECT_EQ(form.mouseSettings().step(settings::MouseSettings::Scroll), 3);
    EXPECT_EQ(form.at("Img_ScrSpd3").picture(), "Bar1_E");
    EXPECT_EQ(form.at("Img_ScrSpd4").picture(), "Bar1_D");
    form.at("lbl_Spd7").onClick(form.at("lbl_Spd7"));
    EXPECT_EQ(form.mouseSettings().step(settings::MouseSettings::Speed), 7)
        << "the digit sets the step too";
}

}  // namespace
}  // namespace scenario
