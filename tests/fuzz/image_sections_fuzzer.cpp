// A parameter image as a mouse or a file delivers it: decomposed into sections (repairing what
// fails its check), composed back, and decomposed again to the very same sections.
#include <algorithm>

#include "fuzz_check.h"
#include "image/check_byte.h"
#include "image/conversion.h"
#include "image/section_checks.h"
#include "image/sections.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte picks the layout and the device kind; the rest is the image.
    static constexpr image::LayoutType kLayouts[] = {image::kLayoutNone, image::kLayout29,
                                                     image::kLayout58, 7};
    image::ConversionContext ctx;
    ctx.imageLayout = kLayouts[data[0] & 3];
    ctx.deviceLayout = (data[0] & 4) ? kLayouts[(data[0] >> 4) & 3] : ctx.imageLayout;
    ctx.macroDevice = data[0] & 8;
    ctx.builtInIdentity = {0x1209, 0x5158};
    image::EditorImage img;
    img.sectionBuf.fill(0x5A);
    std::copy_n(data + 1, std::min(size - 1, img.dataBuf.image.size()), img.dataBuf.image.begin());

    image::ConversionHooks hooks;
    image::DataBufToUI(img, ctx, hooks);
    for (const image::Section& s : {image::kParameterA, image::kFireKey, image::kProfile})
        fuzzing::require(image::hasValidCheckByte(img.sectionBuf, s));

    // Composing renews the ParameterB check byte, which a macro device's own copy brings along.
    image::EditorImage decomposed = img;
    image::refreshCheckByte(decomposed.sectionBuf, image::kParameterB);
    image::ComposeDataBuf(img, ctx, hooks);
    image::DataBufToUI(img, ctx, hooks);
    if (ctx.imageLayout == ctx.deviceLayout) {
        fuzzing::require(img.sectionBuf == decomposed.sectionBuf);
        fuzzing::require(img.keyCodeTexts == decomposed.keyCodeTexts);
    }

    // Each check on its own leaves its section valid, whatever the bytes.
    image::SectionBuf raw{};
    std::copy_n(data + 1, std::min(size - 1, raw.size()), raw.begin());
    const image::CheckContext checks{ctx.deviceLayout, ctx.builtInIdentity};
    image::CheckParameterBSection(raw, checks);
    image::CheckParameterASection(raw, checks);
    image::CheckFireKeySection(raw, checks);
    image::CheckProfileSection(raw, checks);
    for (const image::Section& s :
         {image::kParameterA, image::kParameterB, image::kFireKey, image::kProfile})
        fuzzing::require(image::hasValidCheckByte(raw, s));
    return 0;
}
