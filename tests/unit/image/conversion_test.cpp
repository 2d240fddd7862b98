#include "image/conversion.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "image/builtin_image.h"
#include "image/check_byte.h"
#include "image/sections.h"

namespace image {
namespace {

constexpr DeviceIdentity kId{0x1209, 0x5158};

// Records the order of the hook calls and lets a test act inside them.
struct RecordingHooks : ConversionHooks {
    std::vector<std::string> calls;
    std::function<void()> onUIToDataBuf, onFireKeyMode, onFireKeyAndMode;
    void RefreshUI() override { calls.push_back("RefreshUI"); }
    void UIToDataBuf() override {
        calls.push_back("UIToDataBuf");
        if (onUIToDataBuf) onUIToDataBuf();
    }
    void FireKeyModeToDataBuf() override {
        calls.push_back("FireKeyModeToDataBuf");
        if (onFireKeyMode) onFireKeyMode();
    }
    void FireKeyAndFireKeyModeToDataBuf() override {
        calls.push_back("FireKeyAndFireKeyModeToDataBuf");
        if (onFireKeyAndMode) onFireKeyAndMode();
    }
};

EditorImage builtIn() {
    EditorImage img;
    EXPECT_TRUE(LoadBuiltInImage(img.dataBuf));
    return img;
}

ConversionContext context(LayoutType device, bool macro, LayoutType imageLayout = kLayout58) {
    return {imageLayout, device, macro, kId};
}

TEST(Decomposition, BuiltInImageChangesNoSectionAndRendersTheKeyCodeTexts) {
    EditorImage img = builtIn();
    RecordingHooks hooks;
    DataBufToUI(img, context(kLayout58, false), hooks);
    EXPECT_TRUE(
        std::equal(img.sectionBuf.begin(), img.sectionBuf.end(), img.dataBuf.image.begin()));
    EXPECT_EQ(hooks.calls, std::vector<std::string>{"RefreshUI"});
    EXPECT_EQ(img.keyCodeTexts[0][0], "01010000");
    EXPECT_EQ(img.keyCodeTexts[0][5], "01010000");
    EXPECT_EQ(img.keyCodeTexts[0][8], "0E000000");
    EXPECT_EQ(img.keyCodeTexts[0][9], "110A0201");
    EXPECT_EQ(img.keyCodeTexts[1][5], "01100000");
    EXPECT_EQ(img.keyCodeTexts[2][11], "02080700");
}

TEST(Decomposition, MacroDeviceKeepsTheSectionsItReadsFromItsOwnRegions) {
    for (LayoutType layout : {kLayout29, kLayout58}) {
        EditorImage img = builtIn();
        img.dataBuf.image[1] = layout;
        for (std::size_t i = 27; i <= 35; ++i)
            img.dataBuf.image[i] = 0x11;  // ParameterB and UserBreath (58)
        for (std::size_t i = 89; i <= 92; ++i)
            img.dataBuf.image[i] = 0x22;  // UserBreath for layout 29
        img.sectionBuf.fill(0x77);
        RecordingHooks hooks;
        DataBufToUI(img, context(layout, true, layout), hooks);
        EXPECT_EQ(img.sectionBuf[27], 0x77) << int(layout);
        EXPECT_EQ(img.sectionBuf[31], 0x77) << int(layout);
        if (layout == kLayout58) {
            EXPECT_EQ(img.sectionBuf[32], 0x77);
            EXPECT_EQ(img.sectionBuf[35], 0x77);
        } else {
            EXPECT_EQ(img.sectionBuf[32], 0x22) << "layout 29 takes UserBreath from the image";
        }
    }
}

TEST(Decomposition, Layout29ReadsTheMiddleSectionsFromTheirPlaces) {
    EditorImage img;
    img.dataBuf.image.fill(0);
    img.dataBuf.image[32] = 0xA1;  // ReservedBlock byte 0
    img.dataBuf.image[83] = 0x28;  // ModelId
    img.dataBuf.image[84] = 0x02;
    img.dataBuf.image[85] = 0xE1;  // EFTControl byte 0
    img.dataBuf.image[89] = 0xB1;  // UserBreath byte 0
    RecordingHooks hooks;
    DataBufToUI(img, context(kLayoutNone, false, kLayout29), hooks);
    EXPECT_EQ(img.sectionBuf[kReservedBlock.offset], 0xA1);
    EXPECT_EQ(img.sectionBuf[kModelId.offset], 0x28);
    EXPECT_EQ(img.sectionBuf[kModelId.offset + 1], 0x02);
    EXPECT_EQ(img.sectionBuf[kEFTControl.offset], 0xE1);
    EXPECT_EQ(img.sectionBuf[kUserBreath.offset], 0xB1);
}

TEST(Composition, RunsTheHooksInOrderAndRenewsTheCheckBytes) {
    EditorImage img = builtIn();
    RecordingHooks hooks;
    DataBufToUI(img, context(kLayout58, false), hooks);
    hooks.calls.clear();
    hooks.onUIToDataBuf = [&] {
        img.sectionBuf[10] = 0x02;  // a DPI slot
        img.sectionBuf[28] = 0x01;  // report rate
    };
    hooks.onFireKeyMode = [&] { img.sectionBuf[94] = 0x15; };
    hooks.onFireKeyAndMode = [&] { img.sectionBuf[kProfile.offset + 1] = 0x02; };
    img.dataBuf.image[255] = 0x00;
    ComposeDataBuf(img, context(kLayout58, false), hooks);
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"UIToDataBuf", "FireKeyModeToDataBuf",
                                                     "FireKeyAndFireKeyModeToDataBuf"}));
    const auto& out = img.dataBuf.image;
    EXPECT_EQ(out[10], 0x02);
    EXPECT_EQ(out[28], 0x01);
    EXPECT_EQ(out[94], 0x15);
    EXPECT_EQ(out[111], 0x02);
    EXPECT_EQ(out[255], 0xFF);
    SectionBuf composed{};
    std::copy_n(out.begin(), kSectionBufSize, composed.begin());
    for (const Section& s : {kParameterA, kParameterB, kFireKey, kProfile}) {
        EXPECT_TRUE(hasValidCheckByte(composed, s)) << s.offset;
    }
}

TEST(Composition, UserBreathAndEFTControlKeepTheCheckBytesTheyArrivedWith) {
    EditorImage img = builtIn();
    img.dataBuf.image[35] = 0x01;  // wrong UserBreath check byte
    img.dataBuf.image[92] = 0x02;  // wrong EFTControl check byte
    RecordingHooks hooks;
    DataBufToUI(img, context(kLayout58, false), hooks);
    ComposeDataBuf(img, context(kLayout58, false), hooks);
    EXPECT_EQ(img.dataBuf.image[35], 0x01);
    EXPECT_EQ(img.dataBuf.image[92], 0x02);
}

TEST(Composition, PlacesTheMiddleSectionsByTheDeviceLayout) {
    struct Case {
        LayoutType layout;
        std::size_t userBreath, reserved, modelId, eft;
    };
    for (const Case& c : {Case{kLayout29, 89, 32, 83, 85}, Case{kLayout58, 32, 36, 87, 89},
                          Case{kLayoutNone, 32, 36, 87, 89}, Case{42, 32, 36, 87, 89}}) {
        EditorImage img;
        sectionBytes(img.sectionBuf, kUserBreath)[0] = 0xB1;
        sectionBytes(img.sectionBuf, kReservedBlock)[0] = 0xA1;
        sectionBytes(img.sectionBuf, kReservedBlock)[50] = 0xA2;
        sectionBytes(img.sectionBuf, kModelId)[0] = 0xC1;
        sectionBytes(img.sectionBuf, kEFTControl)[0] = 0xE1;
        RecordingHooks hooks;
        ComposeDataBuf(img, context(c.layout, false), hooks);
        const auto& out = img.dataBuf.image;
        EXPECT_EQ(out[c.userBreath], 0xB1) << int(c.layout);
        EXPECT_EQ(out[c.reserved], 0xA1) << int(c.layout);
        EXPECT_EQ(out[c.reserved + 50], 0xA2) << int(c.layout);
        EXPECT_EQ(out[c.modelId], 0xC1) << int(c.layout);
        EXPECT_EQ(out[c.eft], 0xE1) << int(c.layout);
    }
}

// Compose, then decompose: SectionBuf comes back as UIToDataBuf left it, for both layouts and
// both device kinds.
TEST(RoundTrip, ComposeThenDecomposeKeepsSectionBuf) {
    for (LayoutType layout : {kLayout29, kLayout58}) {
        for (bool macro : {false, true}) {
            EditorImage img;
            std::mt19937 rng(layout * 2 + macro);
            for (Byte& b : img.sectionBuf) b = static_cast<Byte>(rng());
            img.sectionBuf[1] = layout;
            RecordingHooks hooks;
            SectionBuf edited{};
            hooks.onUIToDataBuf = [&] { edited = img.sectionBuf; };
            const auto ctx = context(layout, macro, layout);
            ComposeDataBuf(img, ctx, hooks);
            // The composer renews the check bytes of the checked sections.
            for (const Section& s : {kParameterA, kParameterB, kFireKey, kProfile})
                refreshCheckByte(edited, s);
            const SectionBuf composed = img.sectionBuf;
            DataBufToUI(img, ctx, hooks);
            EXPECT_EQ(img.sectionBuf, edited) << "layout " << int(layout) << " macro " << macro;
            EXPECT_EQ(img.sectionBuf, composed);
        }
    }
}

TEST(Decomposition, AnyBytesDecomposeIntoValidCheckedSections) {
    std::mt19937 rng(7);
    std::vector<std::array<Byte, kImageSize>> images(3);
    images[0].fill(0xFF);
    images[1].fill(0x00);
    for (int i = 0; i < 200; ++i) {
        std::array<Byte, kImageSize> random;
        for (Byte& b : random) b = static_cast<Byte>(rng());
        images.push_back(random);
    }
    for (LayoutType device : {kLayoutNone, kLayout29, kLayout58}) {
        for (LayoutType imageLayout : {kLayout29, kLayout58, kLayoutNone}) {
            for (const auto& bytes : images) {
                EditorImage img;
                img.dataBuf.image = bytes;
                RecordingHooks hooks;
                DataBufToUI(img, context(device, false, imageLayout), hooks);
                for (const Section& s : {kParameterA, kParameterB, kFireKey, kProfile}) {
                    ASSERT_TRUE(hasValidCheckByte(img.sectionBuf, s)) << s.offset;
                }
                for (const auto& profile : img.keyCodeTexts) {
                    for (const auto& text : profile) ASSERT_EQ(text.size(), 8u);
                }
            }
        }
    }
}

}  // namespace
}  // namespace image
