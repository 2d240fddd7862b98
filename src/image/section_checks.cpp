#include "image/section_checks.h"

#include <algorithm>
#include <array>

#include "image/check_byte.h"

namespace image {
namespace {

// The twelve codes of every default profile, button 1 first.
constexpr std::array<std::array<Byte, 4>, kButtonCount> kDefaultProfileCodes{{
    {0x01, 0x01, 0x00, 0x00},  // Left Key
    {0x01, 0x02, 0x00, 0x00},  // Right Key
    {0x01, 0x04, 0x00, 0x00},  // Middle Key
    {0x09, 0x00, 0x00, 0x00},  // CPI
    {0x01, 0x08, 0x00, 0x00},  // Backward
    {0x01, 0x10, 0x00, 0x00},  // Forward
    {0x06, 0x12, 0x00, 0x10},  // Fire1 Key
    {0x07, 0x00, 0x00, 0x00},  // KB Switch Key
    {0x0E, 0x00, 0x00, 0x00},  // LED Mode
    {0x03, 0x02, 0x23, 0x00},  // WWW Home
    {0x0C, 0x00, 0x00, 0x00},  // Report Rate
    {0x02, 0x08, 0x07, 0x00},  // Win+D
}};

std::vector<Byte> withCheckByte(std::vector<Byte> covered) {
    covered.push_back(checkByte(covered));
    return covered;
}

bool knownLayout(LayoutType layout) {
    return layout == kLayout29 || layout == kLayout58;
}

void overwrite(SectionBuf& buf, const Section& section, const std::vector<Byte>& bytes) {
    std::ranges::copy(bytes, sectionBytes(buf, section).begin());
}

void checkSection(SectionBuf& buf, const Section& section, const CheckContext& ctx) {
    if (hasValidCheckByte(buf, section)) return;
    if (knownLayout(ctx.deviceLayout)) {
        overwrite(buf, section, defaultSection(section, ctx.deviceLayout, ctx.builtInIdentity));
    }
    refreshCheckByte(buf, section);
}

}  // namespace

std::vector<Byte> defaultSection(const Section& section, LayoutType layout, DeviceIdentity id) {
    if (section.offset == kParameterA.offset) {
        return withCheckByte({0x00,
                              layout,
                              static_cast<Byte>(id.vendorId >> 8),
                              static_cast<Byte>(id.vendorId),
                              static_cast<Byte>(id.productId >> 8),
                              static_cast<Byte>(id.productId),
                              0xFF,
                              0xFF,
                              0xFF,
                              0xFF,
                              0x03,
                              0x05,
                              0x06,
                              0x08,
                              0x54,
                              0x20,
                              0x05,
                              0x80,
                              0xA0,
                              0x28,
                              0x0A,
                              0x32,
                              0x3C,
                              0x0A,
                              0x07,
                              0x00});
    }
    if (section.offset == kParameterB.offset) return withCheckByte({0x01, 0x02, 0x00, 0x04});
    if (section.offset == kUserBreath.offset) return withCheckByte({0x00, 0x00, 0x00});
    if (section.offset == kEFTControl.offset) return withCheckByte({0x00, 0x00, 0x00});
    if (section.offset == kFireKey.offset) {
        return withCheckByte({0x06, 0x12, 0x00, 0x10, 0x06, 0x12, 0x00, 0x20, 0x06, 0x12, 0x00,
                              0x30, 0x06, 0x12, 0x00, 0x40});
    }
    if (section.offset == kProfile.offset) {
        std::vector<Byte> codes;
        codes.reserve(kProfile.length);
        for (std::size_t p = 0; p < kProfileCount; ++p) {
            for (const auto& code : kDefaultProfileCodes)
                codes.insert(codes.end(), code.begin(), code.end());
        }
        return withCheckByte(std::move(codes));
    }
    return std::vector<Byte>(section.length, 0xFF);
}

void CheckParameterASection(SectionBuf& buf, const CheckContext& ctx) {
    checkSection(buf, kParameterA, ctx);
}

void CheckParameterBSection(SectionBuf& buf, const CheckContext& ctx) {
    if (hasValidCheckByte(buf, kParameterB)) return;
    if (knownLayout(ctx.deviceLayout)) {
        overwrite(buf, kParameterA,
                  defaultSection(kParameterA, ctx.deviceLayout, ctx.builtInIdentity));
        overwrite(buf, kParameterB,
                  defaultSection(kParameterB, ctx.deviceLayout, ctx.builtInIdentity));
    }
    refreshCheckByte(buf, kParameterA);
    refreshCheckByte(buf, kParameterB);
}

void CheckFireKeySection(SectionBuf& buf, const CheckContext& ctx) {
    checkSection(buf, kFireKey, ctx);
}

void CheckProfileSection(SectionBuf& buf, const CheckContext& ctx) {
    checkSection(buf, kProfile, ctx);
}

}  // namespace image
