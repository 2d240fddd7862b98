// DPI levels and report rate: from the image to the Advanced Page and back.
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "fake_host.h"
#include "image/check_byte.h"
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

// Codes 0, 1, 7, 11 and above 11 have no level label. With fewer than two levels shown the
// image goes back as read; otherwise byte 27, whatever it held, names a level written.
TEST_F(Dpi, ThePositionNamesAWrittenLevelAndTooFewLevelsStay) {
    const struct {
        std::array<image::Byte, 4> codes;
        std::vector<image::Byte> written;  // bytes 10-13; none: as read
    } images[] = {
        {{0, 1, 7, 11}, {}},
        {{255, 255, 255, 255}, {}},
        {{12, 255, 0, 7}, {}},
        {{2, 2, 11, 12}, {}},
        {{255, 1, 255, 5}, {}},
        {{0, 2, 7, 3}, {2, 3, 255, 255}},
        {{12, 4, 255, 6}, {4, 6, 255, 255}},
        {{255, 9, 0, 8}, {8, 9, 255, 255}},
        {{2, 5, 8, 10}, {2, 5, 8, 10}},
    };
    const auto& out = form.editorImage().dataBuf.image;
    for (const auto& image : images) {
        for (int p = 0; p <= 255; ++p) {
            show(image.codes, static_cast<image::Byte>(p), 1);
            compose();
            SCOPED_TRACE(::testing::Message() << int(image.codes[1]) << " at " << p);
            if (image.written.empty()) {
                ASSERT_TRUE(std::equal(image.codes.begin(), image.codes.end(), out.begin() + 10));
                ASSERT_EQ(out[27], p);
                continue;
            }
            ASSERT_TRUE(std::equal(image.written.begin(), image.written.end(), out.begin() + 10));
            const auto n = std::count_if(image.written.begin(), image.written.end(),
                                         [](image::Byte b) { return b != 255; });
            ASSERT_LT(out[27], n);
            if (p < n) {
                ASSERT_EQ(out[27], p);
            }
            ASSERT_EQ(form.currentDpiLevel(), selected()[out[27]]) << "shown as written";
        }
    }
    // A mark left on a level the new image does not select moves to the lowest one.
    show({4, 6, 8, 10}, 3, 1);
    show({2, 3, 255, 255}, 3, 1);
    EXPECT_EQ(form.at("Img_DPI1").picture(), "Bar2_E");
    compose();
    EXPECT_EQ(out[27], 0);
}

// Kept levels become the user's with a click that changes the level display.
TEST_F(Dpi, AClickOnALevelTakesOverKeptLevels) {
    const struct {
        bool picture;
        int level;
        std::array<image::Byte, 5> written;  // bytes 10-13 and 27
    } clicks[] = {
        {false, 1, {7, 2, 0, 1, 9}},       // the only level: refused
        {true, 3, {7, 2, 0, 1, 9}},        // an unselected level's picture takes no click
        {true, 1, {2, 255, 255, 255, 0}},  // made current
        {false, 3, {2, 4, 255, 255, 0}},   // a second level
    };
    const auto& out = form.editorImage().dataBuf.image;
    for (const auto& c : clicks) {
        show({7, 2, 0, 1}, 9, 1);  // only code 2 ("600", level 1) is shown, and current
        c.picture ? form.CurrentDPI_OnClick(c.level) : form.DPILevel_OnClick(c.level);
        compose();
        EXPECT_EQ((std::array<image::Byte, 5>{out[10], out[11], out[12], out[13], out[27]}),
                  c.written)
            << (c.picture ? "picture " : "label ") << c.level;
    }
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

namespace scenario {
namespace {

// Read from an image-only mouse (which sends its DPI position too) and applied untouched.
TEST(DpiOnTheMouse, AppliedUntouchedTheLevelsStayOrArePackedWithAValidPosition) {
    const struct {
        std::array<image::Byte, 5> read, held;  // bytes 10-13 and 27
    } cases[] = {
        {{7, 0, 255, 12, 3}, {7, 0, 255, 12, 3}},       {{0, 1, 7, 11, 200}, {0, 1, 7, 11, 200}},
        {{255, 2, 255, 255, 0}, {255, 2, 255, 255, 0}}, {{2, 5, 7, 255, 200}, {2, 5, 255, 255, 0}},
        {{11, 4, 12, 6, 1}, {4, 6, 255, 255, 1}},
    };
    for (const auto& c : cases) {
        testing_support::FakeHost host;
        sim::SimulatedMouse mouse{sim::DeviceKind::ImageOnly};
        auto* image = mouse.firmware.memory().data() + sim::MouseFirmware::kImageAddress;
        image::SectionBuf s{};
        std::copy_n(image, image::kSectionBufSize, s.begin());
        std::copy_n(c.read.begin(), 4, s.begin() + 10);
        s[27] = c.read[4];
        image::refreshCheckByte(s, image::kParameterA);
        image::refreshCheckByte(s, image::kParameterB);
        std::copy(s.begin(), s.end(), image);
        app::TForm1 form{host, mouse};
        form.FormCreate();
        host.advance(3500);
        ASSERT_TRUE(form.link().deviceOpen());
        form.link().Btn_ApplyClick();
        const std::array<image::Byte, 5> held{image[10], image[11], image[12], image[13],
                                              image[27]};
        std::printf("firmware DPI levels %02X %02X %02X %02X, byte 27 = %d\n", held[0], held[1],
                    held[2], held[3], held[4]);
        EXPECT_EQ(held, c.held);
        std::copy_n(image, image::kSectionBufSize, s.begin());
        EXPECT_TRUE(image::hasValidCheckByte(s, image::kParameterA));
        EXPECT_TRUE(image::hasValidCheckByte(s, image::kParameterB));
    }
}

}  // namespace
}  // namespace scenario
