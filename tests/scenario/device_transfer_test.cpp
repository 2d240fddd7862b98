// Reading, writing, reloading and resetting the mouse through the device link.
#include <gtest/gtest.h>

#include <cstdio>

#include "every_sector.h"
#include "image/sections.h"
#include "link_fixture.h"

namespace scenario {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes pattern(std::size_t n, int seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>((i * 7 + seed * 13) & 0xFF);
    return b;
}

Bytes memoryAt(const sim::MouseFirmware& fw, std::uint16_t address, std::size_t n) {
    const auto s = fw.read(address, n);
    return {s.begin(), s.end()};
}

// The commands of the traffic log, each with the number of data reports that followed it.
std::vector<std::string> commandSummary(const sim::MouseFirmware& fw) {
    std::vector<std::string> out;
    int data = 0;
    const auto flush = [&] {
        if (!out.empty()) out.back() += " +" + std::to_string(data);
        data = 0;
    };
    for (const sim::TrafficEntry& e : fw.traffic()) {
        if (e.report[0] == 0x40) {
            flush();
            char text[32];
            std::snprintf(text, sizeof(text), "%02X %02X%02X %02X%02X", e.report[1], e.report[2],
                          e.report[3], e.report[4], e.report[5]);
            out.emplace_back(text);
        } else {
            ++data;
        }
    }
    flush();
    return out;
}

struct MacroDevice : ::testing::Test {
    LinkRig rig;
    void SetUp() override {
        for (int i = 0; i < 32; ++i)
            rig.firmware.program(static_cast<std::uint16_t>(0x8000 + i * 0x400), pattern(1024, i));
        rig.firmware.program(0x6400, pattern(1024, 99));
        rig.firmware.program(0x7000, Bytes{0x01, 0x01, 0x00, 0x02, 0x5E});
        rig.firmware.program(0x7005, Bytes{0x10, 0x20, 0x30, 0xCA});
    }
};

TEST_F(MacroDevice, DetectionReadsEverythingInOrder) {
    rig.detect();
    ASSERT_EQ(rig.link.deviceKind(), device::DeviceKind::Macro);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(Bytes(rig.img.dataBuf.macros[i].begin(), rig.img.dataBuf.macros[i].end()),
                  pattern(1024, i))
            << i;
    }
    EXPECT_EQ(Bytes(rig.img.dataBuf.macroNames.begin(), rig.img.dataBuf.macroNames.end()),
              pattern(1024, 99));
    EXPECT_EQ(Bytes(rig.img.sectionBuf.begin() + 27, rig.img.sectionBuf.begin() + 36),
              (Bytes{0x01, 0x01, 0x00, 0x02, 0x5E, 0x10, 0x20, 0x30, 0xCA}))
        << "ParameterB and UserBreath come from their own regions, unchecked";

    const auto summary = commandSummary(rig.firmware);
    // The open's command probe, followed by its data probe.
    std::vector<std::string> expected{"04 0011 0001 +1",  "04 90E7 0000 +1", "04 90E4 0000 +1",
                                      "16 0000 0000 +1",  "04 0008 0000 +1", "0E 6057 0006 +1",
                                      "0E 6000 0100 +37", "0E 7000 0005 +1", "0E 7005 0004 +1",
                                      "0E 6400 0400 +147"};
    // The pages' blocks first, then the macros.
    for (int i = 0; i < 32; ++i) {
        char text[32];
        std::snprintf(text, sizeof(text), "0E %04X 0400 +147", 0x8000 + i * 0x400);
        expected.emplace_back(text);
    }
    EXPECT_EQ(summary, expected);
    EXPECT_EQ(rig.firmware.counters().dataReportsOut, 5 + 4890) << "identification, then the read";

    // The window saw the read frame.
    const auto& c = rig.window.calls;
    const std::vector<std::string> frame{"StopDevTimer",    "HideStateLabels",
                                         "LockWindow",      "RefreshMacroName",
                                         "RefreshUI",       "RefreshMouseSystemParameters",
                                         "ShowDevicePages", "HideWaitWindow",
                                         "StartDevTimer",   "UnlockWindow"};
    EXPECT_EQ(c, frame);
    EXPECT_GE(rig.window.waitShows, 4890);
}

TEST_F(MacroDevice, ApplyErasesThenWritesEverythingByteForByte) {
    rig.detect();
    // New macros and names whose bits the old contents lack: they only arrive intact if the
    // sectors were erased first.
    for (int i = 0; i < 32; ++i) {
        const Bytes b = pattern(1024, i + 40);
        std::copy(b.begin(), b.end(), rig.img.dataBuf.macros[i].begin());
    }
    const Bytes names = pattern(1024, 77);
    std::copy(names.begin(), names.end(), rig.img.dataBuf.macroNames.begin());
    rig.window.onUIToDataBuf = [&] { rig.img.sectionBuf[10] = 0x02; };
    rig.firmware.clearTraffic();
    rig.window.calls.clear();
    rig.link.Btn_ApplyClick();

    const auto& fw = rig.firmware;
    EXPECT_EQ(fw.counters().erases, 10);
    EXPECT_EQ(fw.counters().dataReportsIn, 4923);
    EXPECT_EQ(fw.counters().reloads, 1);
    EXPECT_EQ(memoryAt(fw, 0x6000, 256),
              Bytes(rig.img.dataBuf.image.begin(), rig.img.dataBuf.image.end()));
    EXPECT_EQ(fw.memory()[0x600A], 0x02);
    EXPECT_EQ(memoryAt(fw, 0x6400, 1024), names);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(memoryAt(fw, static_cast<std::uint16_t>(0x8000 + i * 0x400), 1024),
                  pattern(1024, i + 40))
            << i;
    EXPECT_EQ(memoryAt(fw, 0x7000, 9),
              Bytes(rig.img.sectionBuf.begin() + 27, rig.img.sectionBuf.begin() + 36));
    EXPECT_EQ(fw.memory()[0x6100], 0xFF) << "erased and not written";

    // Every sector changed: the full write, then every block read back, then the reload.
    const auto summary = commandSummary(fw);
    ASSERT_EQ(summary.size(), 10u + 135 + 135 + 1);
    EXPECT_EQ(summary[0], "11 6000 0000 +0");
    EXPECT_EQ(summary[9], "11 F000 0000 +0");
    EXPECT_EQ(summary[10], "12 6000 0100 +37");
    EXPECT_EQ(summary[11], "12 6400 0100 +37");
    EXPECT_EQ(summary[145], "0E 6000 0100 +37");
    EXPECT_EQ(summary[279], "0E 7005 0004 +1");
    EXPECT_EQ(summary[280], "19 0000 0000 +0");
    EXPECT_EQ(summary[15], "12 8000 0100 +37");
    EXPECT_EQ(summary[142], "12 FF00 0100 +37");
    EXPECT_EQ(summary[143], "12 7000 0005 +1");
    EXPECT_EQ(summary[144], "12 7005 0004 +1");

    EXPECT_EQ(
        rig.window.calls,
        (std::vector<std::string>{"Pressed Btn_Apply", "HideAllMenu", "StopDevTimer", "LockWindow",
                                  "UIToDataBuf", "ApplyMouseSystemParameters", "UIToMacroName",
                                  "HideWaitWindow", "StartDevTimer", "UnlockWindow"}));
    EXPECT_TRUE(rig.window.messages.empty());
    EXPECT_EQ(std::count(rig.host.sleeps.begin(), rig.host.sleeps.end(), 10), 11)
        << "the 110 ms pause";
}

TEST_F(MacroDevice, ReportRateChangeChoosesTheReload) {
    rig.detect();
    rig.firmware.clearTraffic();
    rig.window.onUIToDataBuf = [&] { rig.link.setReportRateChanged(true); };
    rig.link.Btn_ApplyClick();
    auto summary = commandSummary(rig.firmware);
    ASSERT_GE(summary.size(), 2u);
    EXPECT_EQ(summary[summary.size() - 2], "03 0001 0000 +0");
    EXPECT_EQ(summary.back(), "18 0000 0000 +0");
    EXPECT_EQ(rig.firmware.counters().reloads, 0);
    EXPECT_FALSE(rig.link.reportRateChanged());

    rig.firmware.clearTraffic();
    rig.window.onUIToDataBuf = nullptr;
    rig.link.Btn_ApplyClick();
    EXPECT_EQ(commandSummary(rig.firmware).back(), "19 0000 0000 +0");
    EXPECT_EQ(rig.firmware.counters().rateSwitches, 0);
}

TEST_F(MacroDevice, FailedMacroReadsKeepThePreviousMacros) {
    const Bytes previous = pattern(1024, 5);
    std::copy(previous.begin(), previous.end(), rig.img.dataBuf.macros[3].begin());
    rig.img.dataBuf.macroNames.fill(0x44);
    rig.firmware.refuseCommandAfter(0x0E, 2);  // the ModelId read and the image read pass
    rig.detect();
    EXPECT_EQ(Bytes(rig.img.dataBuf.macros[3].begin(), rig.img.dataBuf.macros[3].end()), previous);
    EXPECT_EQ(rig.img.dataBuf.macroNames[0], 0x44);
    EXPECT_TRUE(rig.window.called("ShowDevicePages"));
}

TEST_F(MacroDevice, FailedImageReadLeavesThePageAndTheControls) {
    rig.firmware.refuseCommandAfter(0x0E, 1);  // only the ModelId read passes
    rig.detect();
    EXPECT_TRUE(std::all_of(rig.img.dataBuf.image.begin(), rig.img.dataBuf.image.end(),
                            [](auto b) { return b == 0xFF; }));
    EXPECT_FALSE(rig.window.called("RefreshUI"));
    EXPECT_FALSE(rig.window.called("ShowDevicePages"));
    EXPECT_FALSE(rig.window.locked);
    EXPECT_TRUE(rig.window.devTimerEnabled);
}

TEST_F(MacroDevice, UnplugBeforeTheImageWriteSendsNoReloadAndSaysSo) {
    rig.detect();
    differInEverySector(rig.img.dataBuf);
    const auto image = rig.img.dataBuf.macros;
    rig.firmware.clearTraffic();
    rig.firmware.unplugAfter(10);  // the ten erases go out, then the mouse is gone
    rig.link.Btn_ApplyClick();
    EXPECT_EQ(rig.firmware.counters().erases, 10);
    EXPECT_EQ(rig.firmware.counters().dataReportsIn, 0);
    EXPECT_EQ(rig.firmware.counters().reloads, 0);
    EXPECT_EQ(rig.window.messages, std::vector<std::string>{"Str023"});
    EXPECT_EQ(rig.img.dataBuf.macros, image) << "the editor keeps everything";
    EXPECT_FALSE(rig.window.locked);
}

TEST_F(MacroDevice, UnplugDuringTheMacroWriteSaysTheWriteIsIncomplete) {
    rig.detect();
    differInEverySector(rig.img.dataBuf);
    rig.firmware.clearTraffic();
    rig.firmware.unplugAfter(500);
    rig.link.Btn_ApplyClick();
    EXPECT_EQ(rig.window.messages, std::vector<std::string>{"Str023"});
    EXPECT_EQ(rig.firmware.counters().reloads, 0);
    // The next poll notices the mouse is gone.
    rig.window.calls.clear();
    rig.detect();
    EXPECT_EQ(rig.window.calls, std::vector<std::string>{"ShowNoDevicePage"});
}

TEST_F(MacroDevice, ResetWritesTheFactoryImageAndEmptyMacros) {
    rig.detect();
    const Bytes sectionCopies(rig.img.sectionBuf.begin() + 27, rig.img.sectionBuf.begin() + 36);
    rig.firmware.clearTraffic();
    rig.window.calls.clear();
    rig.link.Btn_ResetClick();
    image::DataBuf builtIn;
    ASSERT_TRUE(image::LoadBuiltInImage(builtIn));
    const auto& fw = rig.firmware;
    EXPECT_EQ(memoryAt(fw, 0x6000, 256), Bytes(builtIn.image.begin(), builtIn.image.end()));
    EXPECT_EQ(memoryAt(fw, 0x6400, 1024), Bytes(1024, 0x00));
    EXPECT_EQ(memoryAt(fw, 0xFC00, 1024), Bytes(1024, 0x00));
    EXPECT_EQ(memoryAt(fw, 0x7000, 9), sectionCopies)
        << "the mouse's own DPI, rate and colours survive";
    EXPECT_EQ(rig.img.dataBuf.macros[7], image::Macro{});
    EXPECT_EQ(rig.img.dataBuf.image, builtIn.image);
    EXPECT_EQ(fw.counters().erases, 10);
    EXPECT_EQ(fw.counters().reloads, 1);
    const auto& c = rig.window.calls;
    const auto clear = std::find(c.begin(), c.end(), "ClearMacroEditor");
    ASSERT_NE(clear, c.end());
    EXPECT_EQ(*(clear + 1), "RefreshMacroName");
    EXPECT_FALSE(rig.window.called("ApplyMouseSystemParameters"))
        << "Reset leaves the desktop settings";
    EXPECT_FALSE(rig.window.called("UIToDataBuf")) << "Reset does not compose";
}

TEST(Apply, WithoutAMouseSendsNothing) {
    LinkRig rig;
    rig.firmware.clearTraffic();
    rig.link.Btn_ApplyClick();
    rig.link.Btn_ResetClick();
    rig.link.Btn_ConfirmClick();
    EXPECT_EQ(rig.window.messages, (std::vector<std::string>{"Str022", "Str022", "Str022"}));
    EXPECT_TRUE(rig.firmware.traffic().empty());
    EXPECT_FALSE(rig.window.called("LockWindow"));
    EXPECT_FALSE(rig.window.called("CloseMainWindow"));
}

TEST(Confirm, WritesThenClosesTheWindow) {
    LinkRig rig;
    rig.detect();
    rig.firmware.clearTraffic();
    rig.link.Btn_ConfirmClick();
    EXPECT_EQ(rig.firmware.counters().reloads, 1);
    EXPECT_EQ(rig.window.calls.back(), "CloseMainWindow");
    EXPECT_EQ(std::count(rig.host.sleeps.begin(), rig.host.sleeps.end(), 10), 22);
}

TEST(ImageOnlyDevice, ResetSendsExactlyTheBuiltInImage) {
    LinkRig rig(sim::presetConfig(sim::DeviceKind::ImageOnly));
    rig.detect();
    ASSERT_EQ(rig.link.deviceKind(), device::DeviceKind::ImageOnly);
    rig.img.sectionBuf[10] = 0x00;  // an edit Reset must not send
    rig.firmware.clearTraffic();
    rig.link.Btn_ResetClick();

    const auto summary = commandSummary(rig.firmware);
    EXPECT_EQ(summary,
              (std::vector<std::string>{"09 0000 0100 +37", "0B 0000 0100 +37", "19 0000 0000 +0"}))
        << "written, read back, reloaded";
    Bytes sent;
    for (const auto& e : rig.firmware.traffic()) {
        if (e.report[0] == 0x41) sent.insert(sent.end(), e.report.begin() + 1, e.report.end());
    }
    sent.resize(256);
    image::DataBuf builtIn;
    ASSERT_TRUE(image::LoadBuiltInImage(builtIn));
    EXPECT_EQ(sent, Bytes(builtIn.image.begin(), builtIn.image.end()));
    EXPECT_EQ(sent[255], 0xFF);
}

TEST(ImageOnlyDevice, ReadAndWriteUseShortAccessOnly) {
    LinkRig rig(sim::presetConfig(sim::DeviceKind::ImageOnly));
    rig.detect();
    auto summary = commandSummary(rig.firmware);
    EXPECT_EQ(summary.back(), "0B 0000 0100 +37");
    EXPECT_FALSE(rig.window.called("RefreshMacroName"));
    rig.firmware.clearTraffic();
    rig.link.Btn_ApplyClick();
    summary = commandSummary(rig.firmware);
    EXPECT_EQ(summary, (std::vector<std::string>{"09 0000 0100 +37", "0B 0000 0100 +37",
                                                 "19 0000 0000 +0"}));
    EXPECT_FALSE(rig.window.called("UIToMacroName"));
}

}  // namespace
}  // namespace scenario
