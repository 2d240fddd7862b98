#include "keys/assignment.h"

#include <gtest/gtest.h>

#include "image/key_code_texts.h"

namespace keys {
namespace {

TEST(Assignment, BasicButtonsExchangeTheirFunctions) {
    const std::array<std::string, 3> lrm{"01010000", "01020000", "01040000"};
    EXPECT_EQ(exchangeBasicFunction(lrm, 1, "01020000"),
              (std::array<std::string, 3>{"01020000", "01010000", "01040000"}));
    EXPECT_EQ(exchangeBasicFunction(lrm, 1, "01010000"), lrm)
        << "picking what it has changes nothing";
    EXPECT_EQ(exchangeBasicFunction(lrm, 3, "01010000"),
              (std::array<std::string, 3>{"01040000", "01020000", "01010000"}));
    EXPECT_EQ(exchangeBasicFunction(lrm, 4, "01010000"), lrm);
}

TEST(Assignment, StoringWritesTheTextAndTheProfileBytesOnly) {
    image::EditorImage img;
    img.sectionBuf.fill(0x11);
    storeKeyCode(img, 2, 5, "0300E900");
    EXPECT_EQ(img.keyCodeTexts[1][4], "0300E900");
    const std::size_t at = image::keyCodeOffset(1, 4);
    EXPECT_EQ(at, 110u + 48 + 16);
    EXPECT_EQ(img.sectionBuf[at], 0x03);
    EXPECT_EQ(img.sectionBuf[at + 2], 0xE9);
    EXPECT_EQ(img.sectionBuf[at + 4], 0x11) << "the next button is untouched";
    EXPECT_EQ(img.sectionBuf[254], 0x11) << "the check byte is the composer's";
    storeKeyCode(img, 2, 5, "");
    storeKeyCode(img, 0, 5, "01010000");
    storeKeyCode(img, 1, 13, "01010000");
    EXPECT_EQ(img.keyCodeTexts[1][4], "0300E900") << "bad input changes nothing";
}

TEST(Assignment, LabelsScrollWithAGap) {
    std::string c = scrollCaption("Left Key", true);
    EXPECT_EQ(c, "eft Key    L");
    c = scrollCaption(c, false);
    EXPECT_EQ(c, "ft Key    Le");
    EXPECT_EQ(scrollCaption("\u5de6\u952e", true), "\u952e    \u5de6") << "whole characters move";
    EXPECT_EQ(scrollCaption("", true), "");
}

}  // namespace
}  // namespace keys
