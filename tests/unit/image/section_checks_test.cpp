#include "image/section_checks.h"

#include <gtest/gtest.h>

#include "image/builtin_image.h"
#include "image/check_byte.h"

namespace image {
namespace {

constexpr DeviceIdentity kId{0x1209, 0x5158};

SectionBuf builtInSections() {
    DataBuf buf;
    EXPECT_TRUE(LoadBuiltInImage(buf));
    SectionBuf s{};
    std::copy_n(buf.image.begin(), kSectionBufSize, s.begin());
    return s;
}

std::vector<Byte> bytesOf(const SectionBuf& buf, const Section& s) {
    const auto span = sectionBytes(buf, s);
    return {span.begin(), span.end()};
}

TEST(DefaultSections, CarryTheirDocumentedCheckBytesAndDifferOnlyInTheLayout) {
    EXPECT_EQ(defaultSection(kParameterB, kLayout58, kId).back(), 0x5D);
    EXPECT_EQ(defaultSection(kUserBreath, kLayout58, kId).back(), 0x5A);
    EXPECT_EQ(defaultSection(kEFTControl, kLayout58, kId).back(), 0x5A);
    EXPECT_EQ(defaultSection(kFireKey, kLayout58, kId).back(), 0x5A);
    const auto profile = defaultSection(kProfile, kLayout58, kId);
    ASSERT_EQ(profile.size(), kProfile.length);
    EXPECT_EQ(profile.back(), 0x57);
    EXPECT_TRUE(std::equal(profile.begin(), profile.begin() + 48, profile.begin() + 48));
    EXPECT_TRUE(std::equal(profile.begin(), profile.begin() + 48, profile.begin() + 96));

    const auto a29 = defaultSection(kParameterA, kLayout29, kId);
    const auto a58 = defaultSection(kParameterA, kLayout58, kId);
    ASSERT_EQ(a58.size(), kParameterA.length);
    EXPECT_EQ(a29[1], 0x1D);
    EXPECT_EQ(a58[1], 0x3A);
    for (std::size_t i = 0; i < a58.size(); ++i) {
        if (i != 1 && i != 26) {
            EXPECT_EQ(a29[i], a58[i]) << i;
        }
    }
    EXPECT_EQ(a58[26], checkByte(std::span(a58).first(26)));
    EXPECT_EQ((std::vector<Byte>(a58.begin() + 2, a58.begin() + 6)),
              (std::vector<Byte>{0x12, 0x09, 0x51, 0x58}));
}

TEST(SectionChecks, ValidSectionsAreLeftAlone) {
    SectionBuf s = builtInSections();
    const SectionBuf before = s;
    const CheckContext ctx{kLayout58, kId};
    CheckParameterASection(s, ctx);
    CheckParameterBSection(s, ctx);
    CheckFireKeySection(s, ctx);
    CheckProfileSection(s, ctx);
    EXPECT_EQ(s, before);
}

TEST(SectionChecks, FailingParameterBReplacesParameterAToo) {
    SectionBuf s = builtInSections();
    s[31] ^= 0x01;  // ParameterB's check byte no longer matches
    CheckParameterBSection(s, {kLayout58, kId});
    EXPECT_EQ(bytesOf(s, kParameterA), defaultSection(kParameterA, kLayout58, kId));
    EXPECT_EQ(bytesOf(s, kParameterB), defaultSection(kParameterB, kLayout58, kId));
    EXPECT_EQ(s[1], 0x3A);

    SectionBuf s29 = builtInSections();
    s29[31] ^= 0x01;
    CheckParameterBSection(s29, {kLayout29, kId});
    EXPECT_EQ(s29[1], 0x1D);
    EXPECT_TRUE(hasValidCheckByte(s29, kParameterA));
}

TEST(SectionChecks, WithoutAMouseFailingSectionsKeepTheirBytesAndGetFreshCheckBytes) {
    SectionBuf s = builtInSections();
    s[10] = 0x07;   // ParameterA now fails
    s[28] = 0x01;   // ParameterB now fails
    s[150] = 0x0D;  // Profile now fails
    SectionBuf expected = s;
    CheckParameterASection(s, {kLayoutNone, kId});
    CheckParameterBSection(s, {kLayoutNone, kId});
    CheckProfileSection(s, {kLayoutNone, kId});
    refreshCheckByte(expected, kParameterA);
    refreshCheckByte(expected, kParameterB);
    refreshCheckByte(expected, kProfile);
    EXPECT_EQ(s, expected);
    EXPECT_EQ(s[10], 0x07);
    EXPECT_EQ(s[28], 0x01);
}

TEST(SectionChecks, FailingProfileGetsThreeDefaultProfilesAndNothingOutsideChanges) {
    SectionBuf s = builtInSections();
    s[254] = 0x00;
    const SectionBuf before = s;
    CheckProfileSection(s, {kLayout58, kId});
    EXPECT_EQ(bytesOf(s, kProfile), defaultSection(kProfile, kLayout58, kId));
    EXPECT_EQ(s[254], 0x57);
    EXPECT_TRUE(std::equal(s.begin(), s.begin() + kProfile.offset, before.begin()));
}

TEST(SectionChecks, AllFFImageBecomesTheDefaultsExceptTheUncheckedSections) {
    SectionBuf s;
    s.fill(0xFF);
    const CheckContext ctx{kLayout58, kId};
    CheckParameterASection(s, ctx);
    CheckParameterBSection(s, ctx);
    CheckFireKeySection(s, ctx);
    CheckProfileSection(s, ctx);
    EXPECT_EQ(bytesOf(s, kParameterA), defaultSection(kParameterA, kLayout58, kId));
    EXPECT_EQ(bytesOf(s, kParameterB), defaultSection(kParameterB, kLayout58, kId));
    EXPECT_EQ(bytesOf(s, kFireKey), defaultSection(kFireKey, kLayout58, kId));
    EXPECT_EQ(bytesOf(s, kProfile), defaultSection(kProfile, kLayout58, kId));
    EXPECT_EQ(bytesOf(s, kUserBreath), std::vector<Byte>(4, 0xFF));
    EXPECT_EQ(bytesOf(s, kEFTControl), std::vector<Byte>(4, 0xFF));
}

TEST(SectionChecks, UnknownDeviceLayoutRepairsNothingButTheCheckByte) {
    SectionBuf s;
    s.fill(0x00);
    CheckFireKeySection(s, {42, kId});
    EXPECT_EQ(s[kFireKey.offset], 0x00);
    EXPECT_TRUE(hasValidCheckByte(s, kFireKey));
}

}  // namespace
}  // namespace image
