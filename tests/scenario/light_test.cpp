// The breathing and RGB light: from the image to the Breathing Page and back.
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "fake_host.h"
#include "image/conversion.h"
#include "sim/sim_presets.h"

namespace scenario {
namespace {

struct Light : ::testing::Test {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::ImageOnly};
    app::TForm1 form{host, mouse};
    void SetUp() override { form.FormCreate(); }
    image::DataBuf& data() { return form.editorImage().dataBuf; }
    void show() { image::DataBufToUI(form.editorImage(), form.link().conversionContext(), form); }
    void compose() {
        image::ComposeDataBuf(form.editorImage(), form.link().conversionContext(), form);
    }
    ui::Control& c(const char* n) { return form.at(n); }
};

TEST_F(Light, WithoutTheLightFeatureNothingMoves) {
    // The built-in image has byte 9 = 0xFF: the page keeps its start state.
    EXPECT_EQ(form.lightStep(0), 0);
    EXPECT_EQ(c("Edt_Mode1R").caption(), "100");
    EXPECT_EQ(c("Img_Random").picture(), "RdS_E");
    form.RGBMode_OnClick(2);
    form.TimeBar_OnClick(0, 5);
    const auto before = data().image;
    compose();
    for (std::size_t i : {9u, 18u, 19u, 20u, 21u, 22u, 23u, 24u, 30u})
        EXPECT_EQ(data().image[i], before[i]) << i;
}

// The page tells the truth: where the light is not set from here its controls take no clicks
// and one line says why; where it is, they work and the line is gone.
TEST_F(Light, ThePageSaysWhetherTheLightIsSetFromHere) {
    host.advance(3500);  // the simulated mouse has the light feature
    form.Btn_BreathClick();
    EXPECT_TRUE(form.lightAvailable());
    EXPECT_FALSE(c("lbl_NoLight").visible());
    EXPECT_TRUE(c("lbl_Random").enabled());
    EXPECT_GT(form.lightStep(0), 0) << "the bars show the image's phase times at once";
    data().image[9] = 0xFF;
    show();
    EXPECT_FALSE(form.lightAvailable());
    EXPECT_TRUE(c("lbl_NoLight").visible());
    EXPECT_EQ(c("lbl_NoLight").caption(), form.languageText("Str040"));
    for (const char* name : {"lbl_Random", "Img_Off3", "lbl_LEDColMode2", "Edt_Mode1R"})
        EXPECT_FALSE(c(name).enabled()) << name;
    form.Btn_AdvClick();
    EXPECT_FALSE(c("lbl_NoLight").visible()) << "only on its page";
}

TEST_F(Light, ImageToPageAndBack) {
    auto& img = data().image;
    img[9] = 0xFE & ~0x10;  // light shown, colour mode 2
    img[18] = 160;
    img[19] = 40;
    img[20] = 10;
    img[21] = 50;
    img[22] = 150;
    img[23] = 0;
    img[24] = 7;
    img[30] = 4;
    img[32] = 0;
    img[33] = 10;
    img[34] = 200;
    show();
    EXPECT_EQ((std::array<int, 4>{form.lightStep(0), form.lightStep(1), form.lightStep(2),
                                  form.lightStep(3)}),
              (std::array<int, 4>{7, 10, 1, 10}));
    EXPECT_EQ(c("Img_Off7").picture(), "Bar1_E");
    EXPECT_EQ(c("Img_Off8").picture(), "Bar1_D");
    EXPECT_EQ(c("Img_Random").picture(), "RdS_E") << "LED mode 4 shows Random";
    EXPECT_EQ(c("Edt_Mode1R").caption(), "100") << "150 is shown as 100";
    EXPECT_TRUE(c("Edt_Mode1R").readOnly()) << "colour mode 2";
    EXPECT_EQ(c("Img_LEDColMode2").picture(), "RdS_E");
    EXPECT_EQ(c("Edt_Mode2B").caption(), "200");
    EXPECT_TRUE(c("Edt_Mode2B").readOnly());

    for (int scale = 0; scale < 4; ++scale) form.TimeBar_OnClick(scale, 10);
    compose();
    EXPECT_EQ((std::array<int, 4>{img[18], img[19], img[20], img[21]}),
              (std::array<int, 4>{225, 23, 225, 23}));
    EXPECT_EQ(img[22], 100);
    EXPECT_EQ(img[30], 0) << "written back as Random";
    EXPECT_EQ(img[9] & 0x10, 0);
    EXPECT_EQ((std::array<int, 3>{img[32], img[33], img[34]}), (std::array<int, 3>{0, 10, 200}));

    form.LEDColModeChange(1);
    form.RGBMode_OnClick(1);
    EXPECT_FALSE(c("Edt_Mode1R").readOnly());
    compose();
    EXPECT_EQ(img[9] & 0x10, 0x10);
    EXPECT_EQ(img[9] & 0x01, 0);
    EXPECT_EQ(img[30], 1);
}

// Whatever reaches a colour edit, typed or pasted, leaves digits from 0 to 100.
TEST_F(Light, ColourEditsKeepDigitsFromZeroToHundred) {
    data().image[9] = 0xFE;  // the light is set from here
    show();
    const std::pair<const char*, const char*> cases[] = {
        {"250", "100"},   {"", "0"},      {"1a2", "12"}, {"abc", "0"},
        {"9x9x9", "100"}, {" 50 ", "50"}, {"-7", "7"},   {"\uFF125", "5"} /* a full-width two */};
    for (const char* name : {"Edt_Mode1R", "Edt_Mode1G", "Edt_Mode1B"}) {
        ui::Control& e = c(name);
        for (const auto& [pasted, kept] : cases) {
            e.setCaption(pasted);
            e.onChange(e);  // as the hosts report a paste
            EXPECT_EQ(e.caption(), kept) << name << " \"" << pasted << '"';
        }
        form.setFocus(&e);
        EXPECT_EQ(form.keyPress(U'a'), 0u) << name << ": typed, only digits";
    }
}

// The light ring shows the colour the page would write, in Custom mode only, following every
// edit at once: colour mode 1 as shares of full brightness, colour mode 2 as read.
TEST_F(Light, TheRingShowsTheCustomColour) {
    host.advance(3500);  // the simulated mouse has the light feature
    form.Btn_BreathClick();
    const auto tint = [&] { return c("Img_LightRing").tint(); };
    const auto type = [&](const char* edit, const char* text) {
        c(edit).setCaption(text);
        c(edit).onChange(c(edit));
    };
    EXPECT_TRUE(c("Img_LightRing").visible());
    for (int mode : {0, 1}) {
        form.RGBMode_OnClick(mode);
        EXPECT_FALSE(tint()) << "mode " << mode << " runs through seven colours";
    }
    form.RGBMode_OnClick(2);
    form.LEDColModeChange(1);
    type("Edt_Mode1R", "100");
    type("Edt_Mode1G", "50");
    type("Edt_Mode1B", "0");
    EXPECT_EQ(tint(), (ui::Color{255, 128, 0}));
    type("Edt_Mode1B", "250");  // corrected to 100
    EXPECT_EQ(tint(), (ui::Color{255, 128, 255}));
    type("Edt_Mode1G", "");  // corrected to 0
    EXPECT_EQ(tint(), (ui::Color{255, 0, 255}));
    for (auto [edit, text] :
         {std::pair{"Edt_Mode2R", "0"}, {"Edt_Mode2G", "10"}, {"Edt_Mode2B", "200"}})
        c(edit).setCaption(text);
    form.LEDColModeChange(2);
    EXPECT_EQ(tint(), (ui::Color{0, 10, 200}));
    data().image[9] |= 0x01;  // an image whose light is not set from here
    show();
    EXPECT_FALSE(tint());
    form.Btn_AdvClick();
    EXPECT_FALSE(c("Img_LightRing").visible()) << "only on its page";
}

}  // namespace
}  // namespace scenario
