#include "sim/mouse_firmware.h"

#include <gtest/gtest.h>

#include "image/builtin_image.h"
#include "sim/sim_presets.h"
#include "sim_control.h"

namespace sim {
namespace {

using Report = std::array<std::uint8_t, 8>;

// Sends a command and fetches one data report, as the identification does.
std::array<std::uint8_t, 7> ask(MouseFirmware& fw, std::uint8_t cmd, std::uint8_t p2 = 0,
                                std::uint8_t p3 = 0, std::uint8_t p4 = 0, std::uint8_t p5 = 0) {
    const Report command{0x40, cmd, p2, p3, p4, p5, 0, 0};
    EXPECT_TRUE(fw.setFeature(command));
    Report reply{0x41};
    EXPECT_TRUE(fw.getFeature(reply));
    std::array<std::uint8_t, 7> data;
    std::copy(reply.begin() + 1, reply.end(), data.begin());
    return data;
}

TEST(MouseFirmware, AnswersRegistersAndDeviceInfoFromItsConfiguration) {
    FirmwareConfig c = presetConfig(DeviceKind::Macro);
    c.optionByte = 0x08;
    c.layout = 29;
    c.classByte = 0xAA;
    MouseFirmware fw(c);
    EXPECT_EQ(ask(fw, 0x04, 0x90, 0xE7)[0], 0xAF);
    EXPECT_EQ(ask(fw, 0x04, 0x90, 0xE4)[0], 0x08);
    EXPECT_EQ(ask(fw, 0x04, 0x00, 0x08)[0], 0xC8);
    const auto info = ask(fw, 0x16);
    EXPECT_EQ(info[3], 29);
    EXPECT_EQ(info[5], 0xAA);
    // Layout 29 keeps its ModelId at image offset 83.
    EXPECT_EQ(ask(fw, 0x0E, 0x60, 0x53, 0x00, 0x06)[0], 0x28);
    EXPECT_EQ(fw.counters().commands, 5);
    EXPECT_EQ(fw.traffic().size(), 10u);
}

TEST(MouseFirmware, ImageOnlyDeviceKnowsOnlyShortAccess) {
    MouseFirmware fw(presetConfig(DeviceKind::ImageOnly));
    programFactoryContents(fw);
    EXPECT_FALSE(fw.setFeature(Report{0x40, 0x0E, 0x60, 0x00, 0x01, 0x00, 0, 0}));
    EXPECT_FALSE(fw.setFeature(Report{0x40, 0x11, 0x60, 0x00, 0x00, 0x00, 0, 0}));
    EXPECT_EQ(ask(fw, 0x0B, 0x00, 0x57, 0x00, 0x06)[0], 0x28) << "offset 0x57 of the image";
    // Writes replace bytes: no flash semantics without flash.
    ASSERT_TRUE(fw.setFeature(Report{0x40, 0x09, 0x00, 0x0A, 0x00, 0x02, 0, 0}));
    ASSERT_TRUE(fw.setFeature(Report{0x41, 0x05, 0x07, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
    EXPECT_EQ(fw.memory()[0x600A], 0x05);
    EXPECT_EQ(fw.memory()[0x600B], 0x07);
    EXPECT_EQ(fw.memory()[0x600C], 0x08) << "beyond the announced length";
}

TEST(MouseFirmware, MacroDeviceErasesSectorsAndCountsReloads) {
    MouseFirmware fw(presetConfig(DeviceKind::Macro));
    programFactoryContents(fw);
    EXPECT_NE(fw.memory()[0x6001], 0xFF);
    ASSERT_TRUE(fw.setFeature(Report{0x40, 0x11, 0x60, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(std::all_of(fw.memory().begin() + 0x6000, fw.memory().begin() + 0x7000,
                            [](auto b) { return b == 0xFF; }));
    EXPECT_EQ(fw.memory()[0x7001], 0x02) << "the next sector is untouched";
    for (std::uint8_t cmd : {0x19, 0x03, 0x18, 0x19}) ASSERT_TRUE(fw.setFeature(Report{0x40, cmd}));
    EXPECT_EQ(fw.counters().reloads, 2);
    EXPECT_EQ(fw.counters().rateSwitches, 1);
    EXPECT_EQ(fw.counters().reloadsAfterRate, 1);
    EXPECT_EQ(fw.counters().erases, 1);
}

TEST(MouseFirmware, FactoryContentsMatchTheBuiltInImage) {
    SimulatedMouse mouse(DeviceKind::Macro);
    image::DataBuf builtIn;
    ASSERT_TRUE(image::LoadBuiltInImage(builtIn));
    // The demo turns the light feature on (byte 9, ParameterA's check byte 26) and gives
    // button 6 a macro (the profiles from 110).
    const std::size_t profiles = 110;
    for (std::size_t i = 0; i < profiles; ++i) {
        if (i == 9 || i == 26) continue;
        EXPECT_EQ(mouse.firmware.memory()[0x6000 + i], builtIn.image[i]) << i;
    }
    EXPECT_EQ(mouse.firmware.memory()[0x6000 + 9], builtIn.image[9] & 0xFE);
    const std::size_t button6 = 110 + 5 * 4;
    EXPECT_EQ(mouse.firmware.memory()[0x6000 + button6], 0x10) << "the macro type";
    EXPECT_EQ(mouse.firmware.memory()[0x6000 + button6 + 1], 0x84) << "of slot 1";
    EXPECT_TRUE(std::equal(builtIn.image.begin() + 27, builtIn.image.begin() + 36,
                           mouse.firmware.memory().begin() + 0x7000));
    EXPECT_EQ(mouse.firmware.memory()[0x8000], 0x81) << "the demo macro of slot 0";
    EXPECT_EQ(mouse.firmware.memory()[0x8800], 0x00) << "the other slots are empty";
    EXPECT_EQ(mouse.interfacePaths().size(), 2u);
}

TEST(MouseFirmware, InjectedFaults) {
    MouseFirmware fw;
    fw.refuseCommand(0x16);
    EXPECT_FALSE(fw.setFeature(Report{0x40, 0x16}));
    EXPECT_TRUE(fw.setFeature(Report{0x40, 0x19}));
    fw.failFetches(true);
    Report r{0x41};
    EXPECT_FALSE(fw.getFeature(r));
    fw.clearFaults();
    EXPECT_TRUE(fw.setFeature(Report{0x40, 0x16}));
    fw.unplugAfter(2);
    EXPECT_TRUE(fw.getFeature(r));
    EXPECT_TRUE(fw.getFeature(r));
    EXPECT_FALSE(fw.getFeature(r));
    EXPECT_FALSE(fw.plugged());
    EXPECT_FALSE(fw.setFeature(Report{0x40, 0x19}));
    fw.plug();
    EXPECT_TRUE(fw.setFeature(Report{0x40, 0x19}));
    EXPECT_FALSE(fw.setFeature(Report{0x42, 0x19})) << "unknown report id";
}

TEST(MouseSimTool, ParsesOptionsAndControlCommands) {
    std::string error;
    auto o = mousesim::parseOptions(
        {"/mnt/x", "--kind", "image", "--feature-length", "16", "--extra-device", "046d:c31c",
         "--model-id", "2803", "--report-latency-us", "1000"},
        error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->firmware.kind, DeviceKind::ImageOnly);
    EXPECT_EQ(o->firmware.classByte, 0x50);
    EXPECT_EQ(o->firmware.featureReportLength, 16);
    EXPECT_EQ(o->firmware.modelId, (std::array<std::uint8_t, 2>{0x28, 0x03}));
    EXPECT_EQ(o->extraDevices.size(), 1u);
    EXPECT_EQ(o->firmware.reportLatencyUs, 1000u);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{},
                                                {"/m", "--vid"},
                                                {"/m", "--vid", "12345"},
                                                {"/m", "--kind", "x"},
                                                {"/m", "/n"},
                                                {"/m", "--bogus"},
                                                {"/m", "--extra-device", "046d"},
                                                {"/m", "--report-latency-us", "-1"}}) {
        error.clear();
        EXPECT_FALSE(mousesim::parseOptions(bad, error));
        EXPECT_FALSE(error.empty());
    }

    mousesim::Simulator s(*o);
    EXPECT_EQ(s.nodes().size(), 2u);
    EXPECT_TRUE(s.control("unplug").empty());
    EXPECT_EQ(s.node("hidraw0"), nullptr);
    EXPECT_NE(s.node("hidraw1"), nullptr);
    EXPECT_TRUE(s.control("plug").empty());
    EXPECT_TRUE(s.control("fault refuse 0e").empty());
    EXPECT_FALSE(s.control("fault refuse zz").empty());
    EXPECT_FALSE(s.control("explode").empty());
    EXPECT_NE(s.status().find("plugged 1"), std::string::npos);
}

}  // namespace
}  // namespace sim
