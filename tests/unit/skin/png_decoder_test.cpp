#include "skin/png_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>
#include <vector>

#include "res/resources.h"

namespace skin {
namespace {

using Bytes = std::vector<std::uint8_t>;

void be32(Bytes& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

void chunk(Bytes& png, const char* type, const Bytes& data) {
    be32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    be32(png, static_cast<std::uint32_t>(
                  crc32(0, png.data() + start, static_cast<uInt>(png.size() - start))));
}

Bytes deflate(const Bytes& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    compress(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
    out.resize(size);
    return out;
}

// A PNG of the given type from unfiltered pixel rows (filter byte per row included).
Bytes makePng(std::uint32_t w, std::uint32_t h, std::uint8_t colorType, const Bytes& rows,
              const Bytes& palette = {}, const Bytes& trns = {}, std::uint8_t depth = 8,
              std::uint8_t interlace = 0) {
    Bytes png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    be32(ihdr, w);
    be32(ihdr, h);
    ihdr.insert(ihdr.end(), {depth, colorType, 0, 0, interlace});
    chunk(png, "IHDR", ihdr);
    if (!palette.empty()) chunk(png, "PLTE", palette);
    if (!trns.empty()) chunk(png, "tRNS", trns);
    chunk(png, "IDAT", deflate(rows));
    chunk(png, "IEND", {});
    return png;
}

std::string errorOf(const Bytes& png) {
    const auto r = decodePng(png);
    return std::holds_alternative<DecodeError>(r) ? std::get<DecodeError>(r).message : "";
}

Picture pictureOf(const Bytes& png) {
    auto r = decodePng(png);
    EXPECT_TRUE(std::holds_alternative<Picture>(r)) << errorOf(png);
    return std::holds_alternative<Picture>(r) ? std::get<Picture>(r) : Picture{};
}

TEST(PngDecoder, EveryColourTypeWithEveryFilter) {
    // 2 x 2 RGB, rows filtered with Sub and Up; then Average and Paeth on a second picture.
    const Bytes rgb = makePng(2, 2, 2, {1, 10, 20, 30, 5, 5, 5, 2, 1, 1, 1, 2, 2, 2});
    Picture p = pictureOf(rgb);
    ASSERT_EQ(p.width, 2);
    EXPECT_EQ(p.rgba, (Bytes{10, 20, 30, 255, 15, 25, 35, 255, 11, 21, 31, 255, 17, 27, 37, 255}));

    const Bytes grey = makePng(2, 2, 0, {3, 100, 50, 4, 10, 20});
    p = pictureOf(grey);
    // Average: 100, 50 + 100/2 = 100. Paeth on row 2: 100+10, then paeth(110, 100, 100) = 110 + 20.
    EXPECT_EQ(p.rgba, (Bytes{100, 100, 100, 255, 100, 100, 100, 255, 110, 110, 110, 255, 130, 130,
                             130, 255}));

    p = pictureOf(makePng(1, 1, 4, {0, 77, 128}));
    EXPECT_EQ(p.rgba, (Bytes{77, 77, 77, 128}));
    p = pictureOf(makePng(1, 1, 6, {0, 1, 2, 3, 4}));
    EXPECT_EQ(p.rgba, (Bytes{1, 2, 3, 4}));
    p = pictureOf(makePng(2, 1, 3, {0, 1, 0}, {9, 8, 7, 200, 100, 50}, {0}));
    EXPECT_EQ(p.rgba, (Bytes{200, 100, 50, 255, 9, 8, 7, 0}));
    p = pictureOf(makePng(1, 1, 2, {0, 1, 2, 3}, {}, {0, 1, 0, 2, 0, 3}));
    EXPECT_EQ(p.rgba[3], 0) << "the transparent colour of an RGB picture";
}

TEST(PngDecoder, DamagedFilesAreRefused) {
    const Bytes good = makePng(2, 2, 2, {0, 1, 2, 3, 4, 5, 6, 0, 1, 2, 3, 4, 5, 6});
    ASSERT_EQ(errorOf(good), "");
    for (std::size_t cut : {std::size_t{0}, std::size_t{7}, std::size_t{20}, std::size_t{33},
                            good.size() - 13, good.size() - 1}) {
        EXPECT_NE(errorOf(Bytes(good.begin(), good.begin() + static_cast<long>(cut))), "")
            << "cut at " << cut;
    }
    Bytes badCrc = good;
    badCrc[30] ^= 0x01;  // inside IHDR's CRC-covered bytes
    EXPECT_EQ(errorOf(badCrc), "bad chunk CRC");

    // A zlib stream that is not one, and one that holds too little.
    Bytes png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    be32(ihdr, 2);
    be32(ihdr, 2);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    chunk(png, "IHDR", ihdr);
    Bytes broken = png;
    chunk(broken, "IDAT", {0x78, 0x9C, 0xFF, 0xFF, 0x00});
    chunk(broken, "IEND", {});
    EXPECT_EQ(errorOf(broken), "damaged or short compressed data");
    Bytes shortData = png;
    chunk(shortData, "IDAT", deflate({0, 1, 2, 3}));
    chunk(shortData, "IEND", {});
    EXPECT_EQ(errorOf(shortData), "damaged or short compressed data");
    EXPECT_EQ(errorOf(makePng(1, 1, 2, {5, 1, 2, 3})), "unknown row filter");
}

TEST(PngDecoder, HugeAndUnsupportedPicturesAreRefusedBeforeAllocating) {
    EXPECT_EQ(errorOf(makePng(100000, 100000, 6, {0})), "picture dimensions out of range");
    EXPECT_EQ(errorOf(makePng(0, 5, 6, {0})), "picture dimensions out of range");
    EXPECT_EQ(errorOf(makePng(0xFFFFFFFF, 1, 6, {0})), "picture dimensions out of range");
    EXPECT_EQ(errorOf(makePng(1, 1, 2, {0, 0, 0, 0, 0, 0, 0}, {}, {}, 16)),
              "unsupported colour type or bit depth");
    EXPECT_EQ(errorOf(makePng(1, 1, 5, {0, 0})), "unsupported colour type or bit depth");
    EXPECT_EQ(errorOf(makePng(1, 1, 2, {0, 0, 0, 0}, {}, {}, 8, 1)),
              "interlaced pictures are not supported");
    EXPECT_EQ(errorOf(makePng(1, 1, 3, {0, 5}, {1, 2, 3})), "palette index out of range");
    EXPECT_EQ(errorOf(Bytes{'G', 'I', 'F', '8'}), "not a PNG file");
}

TEST(PngDecoder, RandomDamageNeverCrashes) {
    const Bytes good = makePng(3, 3, 6, Bytes(3 * (1 + 12), 7));
    std::mt19937 rng(11);
    for (int i = 0; i < 3000; ++i) {
        Bytes damaged = good;
        for (int k = 0; k < 3; ++k)
            damaged[rng() % damaged.size()] = static_cast<std::uint8_t>(rng());
        (void)decodePng(damaged);
    }
}

TEST(PngDecoder, EveryShippedPictureDecodesAtItsSize) {
    const std::pair<const char*, std::pair<int, int>> sizes[] = {
        {"L1_BackGround", {800, 600}}, {"L1_Back1", {472, 379}},      {"L1_Back2", {700, 325}},
        {"L1_Back3", {620, 355}},      {"L1_Back4", {600, 346}},      {"L2_Back3", {23, 4}},
        {"L3_BackGround", {23, 4}},    {"BtnS_03", {66, 30}},         {"SetS_02", {127, 36}},
        {"KeyS_03", {97, 30}},         {"MacroS_01", {80, 25}},       {"MacroBtnS_02", {40, 25}},
        {"WebS_03", {264, 21}},        {"RdS_E", {17, 18}},           {"Bar1_D", {23, 4}},
        {"Bar2_E", {20, 4}},           {"InsertKeyBase", {207, 162}}, {"Wait_12", {200, 192}},
        {"Event_Release", {24, 24}},   {"DialogBack", {355, 180}},    {"DialogHighlight", {97, 30}},
    };
    for (const auto& [name, size] : sizes) {
        const auto bytes = res::findData(name);
        ASSERT_TRUE(bytes) << name;
        const Picture p = pictureOf(Bytes(bytes->begin(), bytes->end()));
        EXPECT_EQ(p.width, size.first) << name;
        EXPECT_EQ(p.height, size.second) << name;
        EXPECT_EQ(pngDimensions(*bytes), size) << name << ": the header alone says the same";
    }
    EXPECT_EQ(pngDimensions(Bytes{0x89, 'P', 'N', 'G'}), std::nullopt);
}

}  // namespace
}  // namespace skin
