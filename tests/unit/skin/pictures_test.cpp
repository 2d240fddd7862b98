// The picture sets for scaled screens.
#include "skin/pictures.h"

#include <gtest/gtest.h>

#include <string_view>

#include "res/resource_table.h"
#include "res/resources.h"

namespace skin {
namespace {

TEST(PictureSets, AScaleTakesTheNearestSetAtOrAboveIt) {
    const struct {
        double scale, set;
    } cases[] = {{0.75, 1.0},       {1.0, 1.0},  {1.1, 1.5}, {1.25, 1.5}, {1.5, 1.5},
                 {144.0 / 96, 1.5}, {1.75, 2.0}, {2.0, 2.0}, {3.0, 2.0}};
    for (const auto& c : cases) EXPECT_EQ(pictureSetFor(c.scale), c.set) << c.scale;
}

TEST(PictureSets, ANameInASetFallsBackToTheOneTimesPicture) {
    EXPECT_EQ(pictureInSet("BtnS_01", 1.0), "BtnS_01");
    EXPECT_EQ(pictureInSet("BtnS_01", 1.5), "BtnS_01@1.5x");
    EXPECT_EQ(pictureInSet("BtnS_01", 2.0), "BtnS_01@2x");
    EXPECT_EQ(pictureInSet("NoSuchPicture", 2.0), "NoSuchPicture");
    EXPECT_EQ(pictureInSet("", 2.0), "");
}

// Every built-in picture has both larger sets: the 2x one exactly twice its size, the 1.5x one
// its size rounded to whole pixels, so that drawn into the logical rectangle nothing drifts.
TEST(PictureSets, EveryPictureHasItsLargerSetsAtTheirSizes) {
    int pictures = 0;
    for (std::size_t i = 0; i < res::detail::kTableSize; ++i) {
        const std::string_view name = res::detail::kTable[i].name;
        if (name.find('@') != std::string_view::npos) continue;
        const auto one = pngDimensions(*res::findData(name));
        if (!one) continue;  // tables and the built-in image
        ++pictures;
        for (const double set : {1.5, 2.0}) {
            const std::string scaled = pictureInSet(std::string(name), set);
            ASSERT_NE(scaled, name) << name << " has no set for " << set;
            const auto size = pngDimensions(*res::findData(scaled));
            ASSERT_TRUE(size) << scaled;
            EXPECT_EQ(size->first, deviceLength(one->first, set)) << scaled;
            EXPECT_EQ(size->second, deviceLength(one->second, set)) << scaled;
        }
    }
    EXPECT_GT(pictures, 50);
}

TEST(PictureSets, DeviceLengthsRoundToWholePixels) {
    EXPECT_EQ(deviceLength(23, 1.5), 35);
    EXPECT_EQ(deviceLength(800, 1.25), 1000);
    EXPECT_EQ(deviceLength(11, 1.25), 14);
    EXPECT_EQ(deviceLength(-3, 1.5), -5);
}

}  // namespace
}  // namespace skin
