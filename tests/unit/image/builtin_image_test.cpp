#include "image/builtin_image.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "image/check_byte.h"
#include "image/sections.h"
#include "res/resources.h"

namespace image {
namespace {

// The factory image written out field by field, independently of the resource's own text.
std::array<Byte, kImageSize> expectedBuiltInImage() {
    std::array<Byte, kImageSize> b{};
    const std::vector<Byte> parameterA{0x00, 58,   0x12, 0x09, 0x51, 0x58, 0xFF, 0xFF, 0xEB,
                                       0xFF, 0x04, 0x06, 0x08, 0x0A, 0x54, 0x20, 0x05, 0x80,
                                       0xA0, 0x28, 0x0A, 0x32, 0x3C, 0x0A, 0x07, 0x00};
    std::copy(parameterA.begin(), parameterA.end(), b.begin());
    b[26] = checkByte(parameterA);
    const Byte parameterB[] = {0x03, 0x02, 0x01, 0x04, 0x50};
    std::copy(std::begin(parameterB), std::end(parameterB), b.begin() + 27);
    b[35] = 0x5A;  // UserBreath 32-34 are zero
    b[87] = 0x28;
    b[88] = 0x02;
    b[92] = 0x5A;  // EFTControl 89-91 are zero
    for (int mode = 0; mode < 4; ++mode) {
        const Byte entry[] = {0x06, 0x12, 0x00, static_cast<Byte>(0x10 * (mode + 1))};
        std::copy(std::begin(entry), std::end(entry), b.begin() + 93 + 4 * mode);
    }
    b[109] = 0x5A;
    const Byte codes[12][4] = {{1, 1, 0, 0},    {1, 2, 0, 0},    {1, 4, 0, 0},       {9, 0, 0, 0},
                               {1, 8, 0, 0},    {1, 0x10, 0, 0}, {6, 0x12, 0, 0x10}, {7, 0, 0, 0},
                               {0x0E, 0, 0, 0}, {3, 2, 0x23, 0}, {0x0C, 0, 0, 0},    {2, 8, 7, 0}};
    for (int p = 0; p < 3; ++p) {
        for (int k = 0; k < 12; ++k)
            std::copy(codes[k], codes[k] + 4, b.begin() + 110 + 48 * p + 4 * k);
    }
    const Byte leftKey[] = {0x01, 0x01, 0x00, 0x00};
    const Byte unknownType[] = {0x11, 0x0A, 0x02, 0x01};
    std::copy(std::begin(leftKey), std::end(leftKey), b.begin() + 110 + 4 * 5);
    std::copy(std::begin(unknownType), std::end(unknownType), b.begin() + 110 + 4 * 9);
    b[254] = 0xAE;
    b[255] = 0xFF;
    return b;
}

TEST(BuiltInImage, EmbeddedResourceIsTheFactoryImage) {
    const auto bytes = res::findData("QUORVEXDATA");
    ASSERT_TRUE(bytes.has_value());
    ASSERT_EQ(bytes->size(), kImageSize) << "the resource holds the image and nothing more";
    const auto expected = expectedBuiltInImage();
    for (std::size_t i = 0; i < kImageSize; ++i) {
        EXPECT_EQ((*bytes)[i], expected[i]) << "byte " << i;
    }
}

TEST(BuiltInImage, CheckBytesAndIdentityAreValid) {
    DataBuf buf;
    ASSERT_TRUE(LoadBuiltInImage(buf));
    SectionBuf sections{};
    std::copy_n(buf.image.begin(), kSectionBufSize, sections.begin());
    for (const Section& s :
         {kParameterA, kParameterB, kUserBreath, kEFTControl, kFireKey, kProfile}) {
        EXPECT_TRUE(hasValidCheckByte(sections, s)) << "section at " << s.offset;
    }
    EXPECT_EQ(buf.image[31], 0x50);
    EXPECT_EQ(buf.image[35], 0x5A);
    EXPECT_EQ(buf.image[92], 0x5A);
    EXPECT_EQ(buf.image[109], 0x5A);
    EXPECT_EQ(buf.image[254], 0xAE);
    EXPECT_EQ(identityOf(buf.image), (DeviceIdentity{0x1209, 0x5158}));
    EXPECT_EQ(modelIdOf(buf.image), (std::array<Byte, 2>{0x28, 0x02}));
}

TEST(BuiltInImage, LoadingLeavesWhatTheResourceDoesNotHold) {
    DataBuf buf;
    buf.macroNames.fill(0x33);
    buf.macros[31].fill(0x44);
    ASSERT_TRUE(LoadBuiltInImage(buf));
    EXPECT_EQ(buf.image, expectedBuiltInImage());
    EXPECT_EQ(buf.macroNames[0], 0x33);
    EXPECT_EQ(buf.macros[31][1023], 0x44);
}

TEST(BuiltInImage, MissingResourceIsReportedNotEmpty) {
    EXPECT_FALSE(res::findData("NOSUCHRESOURCE").has_value());
    EXPECT_FALSE(res::find("PNG", "QUORVEXDATA").has_value());
    EXPECT_TRUE(res::find("rc_data", "QuorvexData").has_value()) << "names ignore case";
}

TEST(ImageBytes, ShortInputLoadsWhatItHoldsAndLongInputStopsAtTheFileSize) {
    std::vector<Byte> bytes(kImageSize + 10);
    std::iota(bytes.begin(), bytes.end(), Byte{1});
    DataBuf buf;
    buf.macroNames.fill(0xEE);
    loadImageBytes(bytes, buf);
    EXPECT_EQ(buf.image[0], 1);
    EXPECT_EQ(buf.image[255], 0);  // 256 wraps to 0
    EXPECT_EQ(buf.macroNames[9], static_cast<Byte>(kImageSize + 10));
    EXPECT_EQ(buf.macroNames[10], 0xEE);
    EXPECT_EQ(buf.macros[0][0], 0);

    std::vector<Byte> full(kFullImageSize + 100, 0);
    for (std::size_t i = 0; i < kMacroCount; ++i)
        full[kImageSize + kMacroNameAreaSize + i * kMacroSize] = static_cast<Byte>(i + 1);
    full[kFullImageSize - 1] = 0x99;
    full[kFullImageSize] = 0x77;  // beyond the file size: ignored
    DataBuf all;
    loadImageBytes(full, all);
    for (std::size_t i = 0; i < kMacroCount; ++i) EXPECT_EQ(all.macros[i][0], i + 1);
    EXPECT_EQ(all.macros[31][1023], 0x99);

    DataBuf untouched;
    untouched.image.fill(0x12);
    loadImageBytes({}, untouched);
    EXPECT_EQ(untouched.image[100], 0x12);
}

}  // namespace
}  // namespace image
