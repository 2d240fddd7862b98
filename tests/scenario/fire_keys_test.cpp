// The fire-key modes of the Advanced Page, from the image to the edits and back.
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "fake_host.h"
#include "image/check_byte.h"
#include "image/key_code_texts.h"
#include "sim/sim_presets.h"

namespace scenario {
namespace {

struct FireKeys : ::testing::Test {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    std::unique_ptr<app::TForm1> form;

    // Puts codes into the mouse's profiles and a FireKey entry 1 of 06 12 50 10.
    void SetUp() override {
        auto& m = mouse.firmware.memory();
        const auto put = [&](std::size_t at, std::array<std::uint8_t, 4> code) {
            std::copy(code.begin(), code.end(),
                      m.begin() + 0x6000 + static_cast<std::ptrdiff_t>(at));
        };
        put(image::keyCodeOffset(0, 4), {0x0F, 0x01, 0x00, 0x00});
        put(image::keyCodeOffset(1, 6), {0x0F, 0x02, 0x04, 0x00});
        put(93, {0x06, 0x12, 0x50, 0x10});
        image::SectionBuf s{};
        std::copy_n(m.begin() + 0x6000, image::kSectionBufSize, s.begin());
        image::refreshCheckByte(s, image::kProfile);
        image::refreshCheckByte(s, image::kFireKey);
        std::copy(s.begin(), s.end(), m.begin() + 0x6000);
        form = std::make_unique<app::TForm1>(host, mouse);
        form->FormCreate();
        host.advance(3500);
        ASSERT_TRUE(form->link().deviceOpen());
    }
    ui::Control& c(const std::string& n) { return form->at(n); }
};

TEST_F(FireKeys, TheLastFireModeFunctionDecidesTheSelection) {
    EXPECT_EQ(form->fireModes().modes(), (std::set<int>{2, 4}));
    EXPECT_EQ(c("lbl_FKMode2").font().color, (ui::Color{255, 0, 0}));
    EXPECT_EQ(c("lbl_FKMode1").font().color, (ui::Color{255, 255, 255}));
    EXPECT_EQ(c("Edt_Repeat1").caption(), "2");
    EXPECT_EQ(c("Edt_DelayTime1").caption(), "16") << "the high four bits of byte 2 are not shown";

    form->link().Btn_ApplyClick();
    const auto& m = mouse.firmware.memory();
    const auto at = [&](int p, int b) {
        return 0x6000 +
               image::keyCodeOffset(static_cast<std::size_t>(p), static_cast<std::size_t>(b));
    };
    EXPECT_EQ((std::array<std::uint8_t, 4>{m[at(0, 4)], m[at(0, 4) + 1], m[at(0, 4) + 2],
                                           m[at(0, 4) + 3]}),
              (std::array<std::uint8_t, 4>{0x0F, 0x02, 0x04, 0x00}))
        << "every fire-mode function carries the same list";
    EXPECT_EQ(m[at(1, 6) + 1], 0x02);
    EXPECT_EQ(m[0x6000 + 95], 0x50) << "byte 2 keeps its high four bits";
}

// A macro whose name reads like the fire-mode function stays a macro.
TEST_F(FireKeys, AFireModeIsToldByItsTypeByteNotItsName) {
    form->Btn_MacroClick();
    c("LB_MacroName").setItemIndex(0);
    form->SetMacroName(form->languageText("Str240"));
    form->Btn_MainClick();
    auto& img = form->editorImage();
    img.keyCodeTexts[0][2] = "10800000";
    const std::size_t at = image::keyCodeOffset(0, 2);
    const std::array<std::uint8_t, 4> macro{0x10, 0x80, 0x00, 0x00};
    std::copy(macro.begin(), macro.end(), img.sectionBuf.begin() + static_cast<std::ptrdiff_t>(at));
    form->link().Btn_ApplyClick();
    const auto& m = mouse.firmware.memory();
    EXPECT_EQ((std::array<std::uint8_t, 4>{m[0x6000 + at], m[0x6001 + at], m[0x6002 + at],
                                           m[0x6003 + at]}),
              macro);
    EXPECT_EQ(form->fireModes().modes(), (std::set<int>{2, 4})) << "the selection is unchanged";
}

TEST_F(FireKeys, EditsTakeDigitsAndAreCorrectedWhenLeft) {
    c("Btn_Adv").onClick(c("Btn_Adv"));
    ui::Control& repeat = c("Edt_Repeat1");
    form->setFocus(&repeat);
    EXPECT_EQ(form->keyPress(U'x'), 0u);
    EXPECT_EQ(form->keyPress(U'7'), U'7');
    EXPECT_EQ(form->keyPress(U'\b'), U'\b');
    repeat.setCaption("16");
    form->setFocus(&c("Edt_DelayTime1"));
    EXPECT_EQ(repeat.caption(), "15");
    c("Edt_DelayTime1").setCaption("4095");
    form->setFocus(nullptr);
    EXPECT_EQ(c("Edt_DelayTime1").caption(), "2000");

    c("Edt_Repeat2").setCaption("0");
    form->link().Btn_ApplyClick();
    const auto& m = mouse.firmware.memory();
    EXPECT_EQ(m[0x6000 + 94], 0x1F);
    EXPECT_EQ(m[0x6000 + 95], 0x57) << "0x50 + 2000 div 256";
    EXPECT_EQ(m[0x6000 + 96], 0xD0);
    EXPECT_EQ(m[0x6000 + 98], 0x10) << "repeat 0";
    image::SectionBuf s{};
    std::copy_n(m.begin() + 0x6000, image::kSectionBufSize, s.begin());
    EXPECT_TRUE(image::hasValidCheckByte(s, image::kFireKey));
}

TEST_F(FireKeys, ModeLabelsToggleWithinTheLimits) {
    form->FireKeyModeCheck(1);
    EXPECT_EQ(form->fireModes().modes(), (std::set<int>{1, 2, 4}));
    form->FireKeyModeCheck(3);
    EXPECT_EQ(form->fireModes().modes(), (std::set<int>{1, 2, 4}));
    EXPECT_EQ(c("lbl_FKMode1").font().color, (ui::Color{255, 0, 0}));
    // A changed mode no longer names a fire-key function made from its old settings.
    // (Mode 1's entry byte 2 carries 0x50 here, so its function is 06 12 50 10.)
    EXPECT_EQ(form->keyName("06125010"), "Fire1 Key");
    c("Edt_DelayTime1").setCaption("20");
    EXPECT_EQ(form->keyName("06125010"), "");
    EXPECT_EQ(form->keyName("06125014"), "Fire1 Key");
}

}  // namespace
}  // namespace scenario
