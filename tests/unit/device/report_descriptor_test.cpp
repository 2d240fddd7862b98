#include "device/report_descriptor.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace device {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A vendor page with a command and a data feature report of 7 bytes each, as the mouse has.
const Bytes kVendorFeatures{0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF,
                            0x00, 0x75, 0x08, 0x85, 0x40, 0x95, 0x07, 0x09, 0x02, 0xB1, 0x02,
                            0x85, 0x41, 0x95, 0x07, 0x09, 0x03, 0xB1, 0x02, 0xC0};

// A five-button wheel mouse: input report only.
const Bytes kBootMouse{0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05,
                       0x09, 0x19, 0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x95, 0x05,
                       0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x03, 0x81, 0x01, 0x05,
                       0x01, 0x09, 0x30, 0x09, 0x31, 0x09, 0x38, 0x15, 0x81, 0x25, 0x7F,
                       0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0};

TEST(ReportDescriptor, LengthOfRealWorldShapes) {
    EXPECT_EQ(featureReportLength(kVendorFeatures), 8);
    EXPECT_EQ(featureReportLength(kBootMouse), 0) << "no feature report at all";

    // A mouse input report (id 1) beside a 16-byte vendor feature report (id 5) and a
    // 3-byte one (id 6): the largest counts.
    Bytes several = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x75, 0x08, 0x95, 0x04, 0x81,
                     0x02, 0xC0, 0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x75, 0x08,
                     0x95, 0x10, 0xB1, 0x02, 0x85, 0x06, 0x95, 0x03, 0xB1, 0x02, 0xC0};
    EXPECT_EQ(featureReportLength(several), 17);

    // No report ids: the length still counts one byte for the (zero) report id. Bits that do
    // not fill a byte round up.
    Bytes noIds = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,
                   0x75, 0x01, 0x95, 0x0C, 0xB1, 0x02, 0xC0};
    EXPECT_EQ(featureReportLength(noIds), 3);
}

TEST(ReportDescriptor, LongItemsAndPushPopAreFollowed) {
    Bytes d = {0xFE, 0x03, 0x10, 0xAA, 0xBB, 0xCC,  // long item, skipped
               0x75, 0x08, 0x95, 0x02, 0x85, 0x01,  // 2 bytes, id 1
               0xA4,                                // push
               0x95, 0x0A, 0x85, 0x02, 0xB1, 0x02,  // 10 bytes, id 2
               0xB4,                                // pop: 2 bytes, id 1 again
               0xB1, 0x02};
    EXPECT_EQ(featureReportLength(d), 11);
    // Two-byte and four-byte item data.
    Bytes wide = {0x76, 0x08, 0x00, 0x97, 0x20, 0x00, 0x00, 0x00, 0xB1, 0x02};
    EXPECT_EQ(featureReportLength(wide), 33);
}

TEST(ReportDescriptor, MalformedDescriptorsAreRefused) {
    EXPECT_FALSE(featureReportLength(Bytes{}));
    Bytes truncated(kVendorFeatures.begin(), kVendorFeatures.end() - 2);  // ends inside B1 02
    truncated.pop_back();
    truncated.push_back(0x26);  // an item announcing two data bytes that never come
    EXPECT_FALSE(featureReportLength(truncated));
    EXPECT_FALSE(featureReportLength(Bytes{0xFE, 0x10, 0x00, 0x01}));  // long item cut short
    EXPECT_FALSE(featureReportLength(Bytes{0xB4}));                    // pop without push
    EXPECT_FALSE(featureReportLength(Bytes{0x85, 0x00}));              // report id 0
    EXPECT_FALSE(featureReportLength(Bytes(kMaxReportDescriptorSize + 1, 0x00)));
    // Report size x count beyond any real report.
    EXPECT_FALSE(featureReportLength(
        Bytes{0x77, 0xFF, 0xFF, 0xFF, 0x7F, 0x97, 0xFF, 0xFF, 0xFF, 0x7F, 0xB1, 0x02}));
    Bytes deepPush(40, 0xA4);
    EXPECT_FALSE(featureReportLength(deepPush));
    // 65,535 data bytes and the report id make 65,536: no 16-bit length, not 0.
    EXPECT_FALSE(featureReportLength(Bytes{0x75, 0x08, 0x96, 0xFF, 0xFF, 0xB1, 0x02}));
    EXPECT_EQ(featureReportLength(Bytes{0x75, 0x08, 0x96, 0xFE, 0xFF, 0xB1, 0x02}), 0xFFFF);
    // A first feature near the limit, then a size x count that would wrap the sum around.
    EXPECT_FALSE(
        featureReportLength(Bytes{0x75, 0x08, 0x96, 0x00, 0xF0, 0xB1, 0x02, 0x77, 0xFF, 0xFF, 0xFF,
                                  0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0xB1, 0x02}));
}

TEST(ReportDescriptor, RandomBytesNeverCrash) {
    std::mt19937 rng(3);
    for (int round = 0; round < 20000; ++round) {
        Bytes d(rng() % 64);
        for (auto& b : d) b = static_cast<std::uint8_t>(rng());
        const auto length = featureReportLength(d);
        if (length) {
            EXPECT_LE(*length, 0xFFFF);
        }
    }
}

}  // namespace
}  // namespace device
