#include "image/conversion.h"

#include <algorithm>

#include "image/check_byte.h"
#include "image/key_code_texts.h"
#include "image/section_checks.h"
#include "image/sections.h"

namespace image {

void DataBufToUI(EditorImage& img, const ConversionContext& ctx, ConversionHooks& hooks) {
    const auto& image = img.dataBuf.image;
    SectionBuf& buf = img.sectionBuf;
    const CheckContext checks = ctx.checks();

    copyToSectionBuf(image, buf, kParameterA, ctx.imageLayout);
    CheckParameterASection(buf, checks);

    if (!ctx.macroDevice) {
        copyToSectionBuf(image, buf, kParameterB, ctx.imageLayout);
        CheckParameterBSection(buf, checks);
    }

    // The middle sections: layout 29 has its own order; anything else is read as layout 58.
    if (ctx.imageLayout == kLayout29) {
        copyToSectionBuf(image, buf, kReservedBlock, kLayout29);
        copyToSectionBuf(image, buf, kModelId, kLayout29);
        copyToSectionBuf(image, buf, kEFTControl, kLayout29);
        copyToSectionBuf(image, buf, kUserBreath, kLayout29);
    } else {
        if (!ctx.macroDevice) copyToSectionBuf(image, buf, kUserBreath, kLayout58);
        copyToSectionBuf(image, buf, kReservedBlock, kLayout58);
        copyToSectionBuf(image, buf, kModelId, kLayout58);
        copyToSectionBuf(image, buf, kEFTControl, kLayout58);
    }

    copyToSectionBuf(image, buf, kFireKey, ctx.imageLayout);
    CheckFireKeySection(buf, checks);

    copyToSectionBuf(image, buf, kProfile, ctx.imageLayout);
    CheckProfileSection(buf, checks);

    clearKeyCodeTexts(img.keyCodeTexts);
    renderKeyCodeTexts(buf, img.keyCodeTexts);

    hooks.RefreshUI();
}

void ComposeDataBuf(EditorImage& img, const ConversionContext& ctx, ConversionHooks& hooks) {
    auto& image = img.dataBuf.image;
    SectionBuf& buf = img.sectionBuf;
    const LayoutType layout = ctx.deviceLayout;

    image.fill(0xFF);
    hooks.UIToDataBuf();

    refreshCheckByte(buf, kParameterA);
    copyToDataBuf(buf, image, kParameterA, layout);
    refreshCheckByte(buf, kParameterB);
    copyToDataBuf(buf, image, kParameterB, layout);

    // dataBufOffset() places these for layout 29, and as layout 58 for every other layout.
    copyToDataBuf(buf, image, kUserBreath, layout);
    copyToDataBuf(buf, image, kReservedBlock, layout);
    copyToDataBuf(buf, image, kModelId, layout);
    copyToDataBuf(buf, image, kEFTControl, layout);

    hooks.FireKeyModeToDataBuf();
    refreshCheckByte(buf, kFireKey);
    copyToDataBuf(buf, image, kFireKey, layout);

    hooks.FireKeyAndFireKeyModeToDataBuf();
    refreshCheckByte(buf, kProfile);
    copyToDataBuf(buf, image, kProfile, layout);
    // Byte 255 keeps the 0xFF of the fill.
}

void takeProfileDeviceSections(EditorImage& img, const ConversionContext& ctx) {
    const CheckContext checks = ctx.checks();
    for (const Section& section : {kParameterB, kUserBreath}) {
        copyToSectionBuf(img.dataBuf.image, img.sectionBuf, section, ctx.imageLayout);
        if (hasValidCheckByte(img.sectionBuf, section)) continue;
        const auto bytes = defaultSection(section, checks.deviceLayout, checks.builtInIdentity);
        std::copy(bytes.begin(), bytes.end(), sectionBytes(img.sectionBuf, section).begin());
    }
}

}  // namespace image
