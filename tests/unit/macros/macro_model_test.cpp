#include "macros/macro_model.h"

#include <gtest/gtest.h>

namespace macros {
namespace {

using Bytes = std::vector<Byte>;

const std::vector<std::string> kExample{"10",   "1 Ctrl CODE:8101", "0 120", "1 A CODE:8204",
                                        "0 80", "2 A CODE:0204",    "0 95",  "2 Ctrl CODE:0101"};

TEST(MacroModel, CompilesTheEventList) {
    EXPECT_EQ(MemoToMacro(kExample), (Bytes{0x81, 0x01, 0xFE, 0x00, 0x78, 0x82, 0x04, 0xFE, 0x00,
                                            0x50, 0x02, 0x04, 0xFE, 0x00, 0x5F, 0x01, 0x01, 0x00}));
    EXPECT_EQ(MemoToMacro({"00", "1 LeftKey CODE:00A1"}), (Bytes{0xA1, 0x00}));
    EXPECT_EQ(MemoToMacro({"00", "2 Backward CODE:0030"}), (Bytes{0x30, 0x00}));
    EXPECT_EQ(MemoToMacro({"00", "0 65535"}), (Bytes{0xFE, 0xFF, 0xFF, 0x00}));
    EXPECT_EQ(MemoToMacro({"00", "0 abc"}), (Bytes{0xFE, 0x00, 0x00, 0x00}))
        << "not a number: a delay of 0";
    EXPECT_EQ(MemoToMacro({"00", "0 99999"}), (Bytes{0xFE, 0xFF, 0xFF, 0x00}))
        << "four hex digits hold no more";
    EXPECT_EQ(MemoToMacro({"00"}), (Bytes{0x00}));
}

TEST(MacroModel, EventListsThatDoNotFitAreCutAtAWholeEvent) {
    std::vector<std::string> lines{"00"};
    for (int i = 0; i < 400; ++i) lines.push_back("0 10");
    const Bytes bytes = MemoToMacro(lines);
    EXPECT_LE(bytes.size(), kBlockSize);
    EXPECT_EQ(bytes.size(), 341u * 3 + 1);
    EXPECT_EQ(bytes.back(), 0x00);
}

TEST(MacroModel, ParsesTheBlockBackWithItsDelayMode) {
    const Bytes bytes = MemoToMacro(kExample);
    const EventList list = MacroToMemo(bytes, bytes.size());
    EXPECT_EQ(list.lines, kExample) << "the mode line is 10 (delays 120, 80, 95, 0)";
    EXPECT_EQ(list.mode, DelayMode::Recorded);

    std::vector<std::string> fifty{"01"};
    for (int i = 0; i < 4; ++i) {
        fifty.push_back("1 LeftKey CODE:00A1");
        fifty.push_back("0 50");
    }
    Bytes b = MemoToMacro(fifty);
    EventList parsed = MacroToMemo(b, b.size());
    EXPECT_EQ(parsed.lines[0], "0150");
    EXPECT_EQ(parsed.mode, DelayMode::Default);
    EXPECT_EQ(parsed.defaultDelay, 50);
    fifty.resize(7);  // three delays of 50
    b = MemoToMacro(fifty);
    EXPECT_EQ(MacroToMemo(b, b.size()).lines[0], "10");
    b = MemoToMacro({"00", "1 LeftKey CODE:00A1", "2 LeftKey CODE:0021"});
    parsed = MacroToMemo(b, b.size());
    EXPECT_EQ(parsed.lines[0], "00");
    EXPECT_EQ(parsed.mode, DelayMode::None);
}

TEST(MacroModel, StrangeBlocksEndTheirParsing) {
    const Bytes reserved{0x03, 0xFD, 0x11, 0x04, 0x01, 0x02, 0xA2, 0x00};
    EXPECT_EQ(MacroToMemo(reserved, reserved.size()).lines,
              (std::vector<std::string>{"00", "1 RightKey CODE:00A2"}));
    const Bytes unknown{0xA1, 0x77, 0xA2, 0x00};
    EXPECT_EQ(MacroToMemo(unknown, unknown.size()).lines.size(), 2u)
        << "parsing stops at a byte no event starts with";
    EXPECT_EQ(MacroToMemo(unknown, 2000).lines.size(), 1u) << "a length above 1024 counts as 0";
    const Bytes modifier{0x81, 0x80, 0x01, 0x10, 0x00};
    const auto lines = MacroToMemo(modifier, modifier.size()).lines;
    EXPECT_EQ(lines[1], "1 Right Windows CODE:8180");
    EXPECT_EQ(lines[2], "2  CODE:0110") << "a modifier bit without a key shows no name";
    Bytes cut{0xFE, 0x00};
    EXPECT_EQ(MacroToMemo(cut, 5).lines.size(), 1u) << "never read past the block";
    // A delay that starts inside the data length but ends beyond it is not read.
    const Bytes beyond{0x82, 0x04, 0xFE, 0x00, 0x10, 0x00};
    EXPECT_EQ(MacroToMemo(beyond, 3).lines, (std::vector<std::string>{"00", "1 A CODE:8204"}));
}

TEST(MacroModel, NamesAreUtf16InTheirRecord) {
    std::array<Byte, kRecordSize> record{};
    record.fill(0xEE);
    setRecordName(record, "AB");
    EXPECT_EQ(record[2], 0);
    EXPECT_EQ(record[3], 4);
    EXPECT_EQ((Bytes{record[4], record[5], record[6], record[7]}), (Bytes{0x00, 0x41, 0x00, 0x42}));
    EXPECT_EQ(record[8], 0xEE) << "bytes beyond the name stay";
    EXPECT_EQ(recordName(record), "AB");

    setRecordName(record, "abcdefghijklmnopq");
    EXPECT_EQ(record[3], 28) << "14 characters fill the record";
    EXPECT_EQ(recordName(record), "abcdefghijklmn");
    setRecordName(record, "\u5b8f\U0001F600x");
    EXPECT_EQ(recordName(record), "\u5b8f\U0001F600x");
    setRecordName(record, "1234567890123\U0001F600");
    EXPECT_EQ(record[3], 26) << "a surrogate pair is not split";

    std::array<Byte, kRecordSize> blank;
    blank.fill(0xFF);
    EXPECT_EQ(recordName(blank), "") << "an erased record has no name";
    blank[3] = 3;
    blank[4] = 0x00;
    blank[5] = 0x00;
    blank[6] = 0x41;
    EXPECT_EQ(recordName(blank), "A") << "a leading odd byte is ignored";
    blank[3] = 0xFF;
    EXPECT_EQ(dataLength(blank), 0xFFFF);
    setDataLength(blank, 18);
    EXPECT_EQ((Bytes{blank[0], blank[1]}), (Bytes{0x00, 0x12}));
}

TEST(MacroModel, EventLinesShowTheirKindAndText) {
    EXPECT_EQ(lineKind("0 120"), 0);
    EXPECT_EQ(lineDisplayText("0 120"), "120 ms");
    EXPECT_EQ(lineKind("1 Ctrl CODE:8101"), 1);
    EXPECT_EQ(lineDisplayText("1 Ctrl CODE:8101"), "Ctrl");
    EXPECT_EQ(lineKind("2 LeftKey CODE:0021"), 2);
    EXPECT_EQ(lineDisplayText("2 LeftKey CODE:0021"), "LeftKey");
    EXPECT_EQ(lineKind("x"), 0);
}

}  // namespace
}  // namespace macros
