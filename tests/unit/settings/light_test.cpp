#include "settings/light.h"

#include <gtest/gtest.h>

namespace settings {
namespace {

TEST(LightScales, CodesReadAsStepsByRangeAndWriteFixedCodes) {
    EXPECT_EQ(stepOfCode(TimeScale::Hold, 160), 7);
    EXPECT_EQ(stepOfCode(TimeScale::Step, 40), 10);
    EXPECT_EQ(stepOfCode(TimeScale::Hold, 10), 1);
    EXPECT_EQ(stepOfCode(TimeScale::Step, 50), 10);
    EXPECT_EQ(stepOfCode(TimeScale::Step, 8), 3);
    EXPECT_EQ(stepOfCode(TimeScale::Step, 9), 4);
    EXPECT_EQ(stepOfCode(TimeScale::Hold, 255), 10);
    for (int step = 1; step <= 10; ++step) {
        for (TimeScale s : {TimeScale::Hold, TimeScale::Step}) {
            EXPECT_EQ(stepOfCode(s, codeOfStep(s, step)), step) << step;
        }
    }
    EXPECT_EQ(codeOfStep(TimeScale::Hold, 10), 225);
    EXPECT_EQ(codeOfStep(TimeScale::Step, 10), 23);
    EXPECT_EQ(codeOfStep(TimeScale::Step, 2), 4);
}

TEST(LightScales, ColourValuesStayWithinZeroToHundred) {
    EXPECT_EQ(correctColourText("250"), "100");
    EXPECT_EQ(correctColourText(""), "0");
    EXPECT_EQ(correctColourText("100"), "100");
    EXPECT_EQ(correctColourText("07"), "07");
    EXPECT_EQ(correctColourText("99999999999999999999"), "100");
}

}  // namespace
}  // namespace settings
