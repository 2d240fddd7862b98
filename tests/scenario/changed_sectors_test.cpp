// Apply after a complete read writes only the flash sectors that changed, reads them back, and
// leaves the mouse as the full write would; what the mouse holds unknown means the full write.
#include <gtest/gtest.h>

#include "image/sections.h"
#include "link_fixture.h"

namespace scenario {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Image, names, macros and both section copies: every region a write puts into the mouse.
Bytes writtenRegions(const sim::MouseFirmware& fw) {
    Bytes out;
    const auto add = [&](std::uint16_t address, std::size_t length) {
        const auto r = fw.read(address, length);
        out.insert(out.end(), r.begin(), r.end());
    };
    add(0x6000, 256);
    add(0x6400, 1024);
    add(0x7000, 9);
    add(0x8000, 32 * 1024);
    return out;
}

// One button of profile 1 gets another function.
void changeOneButton(LinkRig& rig) {
    rig.window.onUIToDataBuf = [&rig] { rig.img.sectionBuf[image::kProfile.offset + 4] = 0x05; };
}

TEST(ChangedSectors, OneButtonWritesTwoSectorsAndLeavesWhatTheFullWriteLeaves) {
    LinkRig partial, full;
    for (LinkRig* rig : {&partial, &full}) {
        rig->detect();
        changeOneButton(*rig);
    }
    // A failed write leaves what the mouse holds unknown: the next Apply is the full write.
    full.firmware.failDataReports(true);
    full.link.Btn_ApplyClick();
    full.firmware.clearFaults();
    full.window.messages.clear();

    for (LinkRig* rig : {&partial, &full}) {
        rig->firmware.clearTraffic();
        rig->link.Btn_ApplyClick();
        EXPECT_TRUE(rig->window.messages.empty());
        EXPECT_EQ(rig->firmware.counters().reloads, 1);
    }
    EXPECT_LE(partial.firmware.counters().erases, 2);
    EXPECT_LE(partial.firmware.counters().dataReportsIn, 250);
    EXPECT_EQ(full.firmware.counters().erases, 10);
    EXPECT_EQ(full.firmware.counters().dataReportsIn, 4923);
    EXPECT_EQ(partial.firmware.memory()[0x6000 + image::kProfile.offset + 4], 0x05);
    EXPECT_EQ(writtenRegions(partial.firmware), writtenRegions(full.firmware));

    partial.firmware.clearTraffic();
    partial.link.Btn_ApplyClick();
    EXPECT_EQ(partial.firmware.counters().erases, 1) << "nothing changed: the section copies only";
}

TEST(ChangedSectors, ResetWritesEverything) {
    LinkRig rig;
    rig.detect();
    rig.firmware.clearTraffic();
    rig.link.Btn_ResetClick();
    EXPECT_EQ(rig.firmware.counters().erases, 10);
    EXPECT_EQ(rig.firmware.counters().dataReportsIn, 4923);
}

TEST(ChangedSectors, AWriteThatDidNotTakeIsToldAndTheNextApplyWritesEverything) {
    LinkRig rig;
    rig.detect();
    changeOneButton(rig);
    rig.firmware.corruptNextReadAt(0x6000);  // the verify read of the image answers a bit off
    rig.link.Btn_ApplyClick();
    EXPECT_EQ(rig.window.messages, std::vector<std::string>{"Str043"});
    EXPECT_FALSE(rig.link.mouseContents());

    rig.window.messages.clear();
    rig.firmware.clearTraffic();
    rig.link.Btn_ApplyClick();
    EXPECT_TRUE(rig.window.messages.empty());
    EXPECT_EQ(rig.firmware.counters().erases, 10);
    EXPECT_EQ(rig.firmware.counters().dataReportsIn, 4923);
    EXPECT_TRUE(rig.link.mouseContents());
}

// Long transfers tell the wait window how far they are, report by report, and end the display.
TEST(ChangedSectors, LongTransfersShowTheirProgress) {
    LinkRig rig;
    rig.detect();
    ASSERT_FALSE(rig.window.progress.empty());
    EXPECT_EQ(rig.window.progress.front(), std::make_pair(1, 4890)) << "the read";
    EXPECT_EQ(rig.window.progress[4889], std::make_pair(4890, 4890));
    EXPECT_EQ(rig.window.progress.back(), std::make_pair(0, 0));

    rig.window.progress.clear();
    rig.link.Btn_ApplyClick();
    EXPECT_TRUE(rig.window.progress.empty()) << "two short sectors: over before a bar helps";

    rig.link.Btn_ResetClick();
    ASSERT_EQ(rig.window.progress.size(), 2u * 4923 + 1) << "written, read back, ended";
    EXPECT_EQ(rig.window.progress[2 * 4923 - 1], std::make_pair(2 * 4923, 2 * 4923));
}

}  // namespace
}  // namespace scenario
