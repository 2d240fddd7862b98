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

namespace scenario {
namespace {

using Entries = std::array<std::array<std::uint8_t, 4>, 4>;

// A mouse whose FireKey section holds these entries, read by a new window.
struct ReadMouse {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    std::unique_ptr<app::TForm1> form;

    explicit ReadMouse(const Entries& entries) {
        auto& m = mouse.firmware.memory();
        image::SectionBuf s{};
        std::copy_n(m.begin() + 0x6000, image::kSectionBufSize, s.begin());
        for (std::size_t n = 0; n < 4; ++n)
            std::copy(entries[n].begin(), entries[n].end(), s.begin() + 93 + 4 * n);
        image::refreshCheckByte(s, image::kFireKey);
        std::copy(s.begin(), s.end(), m.begin() + 0x6000);
        form = std::make_unique<app::TForm1>(host, mouse);
        form->FormCreate();
        host.advance(3500);
    }
    // The FireKey section as the mouse holds it, printed for the record.
    Entries held() {
        const auto& m = mouse.firmware.memory();
        Entries e{};
        std::printf("firmware FireKey:");
        for (std::size_t i = 0; i < 17; ++i) {
            if (i < 16) e[i / 4][i % 4] = m[0x6000 + 93 + i];
            std::printf("%s%02X", i % 4 == 0 ? "  " : " ", m[0x6000 + 93 + i]);
        }
        std::printf("\n");
        image::SectionBuf s{};
        std::copy_n(m.begin() + 0x6000, image::kSectionBufSize, s.begin());
        EXPECT_TRUE(image::hasValidCheckByte(s, image::kFireKey));
        return e;
    }
};

TEST(FireKeyEntries, UntouchedEntriesGoBackAsReadWithByteOnesHighBitsOne) {
    const struct {
        Entries read, written;
    } cases[] = {
        {{{{6, 0x10, 0, 0}, {6, 0x11, 0, 1}, {6, 0x1F, 0x07, 0xD0}, {6, 0x11, 0x0F, 0xFF}}},
         {{{6, 0x10, 0, 0}, {6, 0x11, 0, 1}, {6, 0x1F, 0x07, 0xD0}, {6, 0x11, 0x0F, 0xFF}}}},
        {{{{6, 0x21, 0x5F, 0xFF}, {6, 0x01, 0, 2}, {6, 0xF0, 0xA0, 0}, {6, 0x3F, 0x07, 0xD1}}},
         {{{6, 0x11, 0x5F, 0xFF}, {6, 0x11, 0, 2}, {6, 0x10, 0xA0, 0}, {6, 0x1F, 0x07, 0xD1}}}},
    };
    for (const auto& c : cases) {
        ReadMouse r(c.read);
        ASSERT_TRUE(r.form->link().deviceOpen());
        r.form->link().Btn_ApplyClick();
        EXPECT_EQ(r.held(), c.written);
    }
}

// Typed, never left, then a fire-key function picked and Apply: the edit is corrected as
// leaving it would, and the entry and the picked function carry the same bytes.
TEST(FireKeyEntries, AChangedTextStillFocusedIsCorrectedAtApply) {
    const struct {
        const char* edit;
        const char* typed;
        const char* shown;
        std::array<std::uint8_t, 4> entry;
    } cases[] = {
        {"Edt_Repeat2", "16", "15", {6, 0x1F, 0x5F, 0xFF}},
        {"Edt_Repeat2", "1", "2", {6, 0x12, 0x5F, 0xFF}},
        {"Edt_Repeat2", "", "2", {6, 0x12, 0x5F, 0xFF}},
        {"Edt_Repeat2", "0", "0", {6, 0x10, 0x5F, 0xFF}},
        {"Edt_DelayTime2", "9999", "2000", {6, 0x15, 0x57, 0xD0}},
        {"Edt_DelayTime2", "1", "2", {6, 0x15, 0x50, 0x02}},
        {"Edt_DelayTime2", "0", "0", {6, 0x15, 0x50, 0x00}},
    };
    const std::array<std::uint8_t, 4> read{6, 0x15, 0x5F, 0xFF};  // repeat 5, delay 4095
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.edit) + " \"" + c.typed + "\"");
        ReadMouse r({read, read, read, read});
        app::TForm1& f = *r.form;
        f.Btn_AdvClick();
        f.setFocus(&f.at(c.edit));
        f.at(c.edit).setCaption(c.typed);
        f.Btn_MainClick();
        for (const char* step : {"Key5", "Key_Special", "Key_Fire", "Key_FireMode2"}) {
            const ui::Rect b = f.at(step).formBounds();
            f.pointerMove(b.x + b.w / 2, b.y + b.h / 2);  // opens the submenus
            f.pointerDown(b.x + b.w / 2, b.y + b.h / 2, ui::MouseButton::Left);
            f.pointerUp(b.x + b.w / 2, b.y + b.h / 2, ui::MouseButton::Left);
        }
        ASSERT_EQ(f.at("Key5").caption(), "Fire2 Key");
        f.link().Btn_ApplyClick();
        ASSERT_EQ(f.focus(), &f.at(c.edit));
        EXPECT_EQ(f.at(c.edit).caption(), c.shown);
        const Entries held = r.held();
        EXPECT_EQ(held[1], c.entry);
        EXPECT_EQ(held[0], read) << "an untouched mode";
        const std::size_t at = 0x6000 + image::keyCodeOffset(0, 4);
        const auto& m = r.mouse.firmware.memory();
        EXPECT_EQ((std::array<std::uint8_t, 4>{m[at], m[at + 1], m[at + 2], m[at + 3]}), c.entry)
            << "the picked function is the entry";
    }
}

}  // namespace
}  // namespace scenario
