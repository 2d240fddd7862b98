#include "device/hid_transport.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "sim/mouse_firmware.h"
#include "sim/sim_backend.h"
#include "sim/sim_presets.h"

namespace device {
namespace {

using sim::DeviceKind;
using sim::MouseFirmware;
using sim::TrafficEntry;
using Report = std::array<std::uint8_t, 8>;

struct Transport : ::testing::Test {
    MouseFirmware mouse{sim::presetConfig(DeviceKind::Macro)};
    sim::SimBackend backend;
    HidTransport link{backend};

    void SetUp() override {
        backend.addDevice({"kbd", 0x046D, 0xC31C, 0, nullptr});
        backend.addMouse(mouse, "mouse");
    }
    void open() {
        ASSERT_TRUE(link.OpenMouse(0x1209, 0x5158));
        ASSERT_TRUE(link.handlesValid());
        mouse.clearTraffic();
    }
    int fetches() const { return mouse.counters().dataReportsOut; }
    Report firstReport() const { return mouse.traffic().front().report; }
};

TEST_F(Transport, OpenSendsBothProbesAndRemembersThePath) {
    ASSERT_TRUE(link.OpenMouse(0x1209, 0x5158));
    EXPECT_EQ(link.devicePath(), "mouse");
    EXPECT_EQ(link.vendorId(), 0x1209);
    ASSERT_EQ(mouse.traffic().size(), 2u);
    EXPECT_EQ(mouse.traffic()[0].report, (Report{0x40, 0x04, 0x00, 0x11, 0x00, 0x01, 0x00, 0x00}));
    EXPECT_EQ(mouse.traffic()[1].report, (Report{0x41, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(backend.openHandleCount(), 1) << "the keyboard's handle was closed";
    link.Reset();
    EXPECT_FALSE(link.handlesValid());
    EXPECT_EQ(link.vendorId(), 0);
    EXPECT_EQ(link.devicePath(), "");
    EXPECT_EQ(backend.openHandleCount(), 0);
}

TEST_F(Transport, WrongIdsOrReportLengthAreNotAccepted) {
    EXPECT_FALSE(link.OpenMouse(0x1209, 0x0001));
    EXPECT_EQ(backend.openHandleCount(), 0);

    sim::FirmwareConfig wide = sim::presetConfig(DeviceKind::Macro);
    wide.featureReportLength = 16;
    MouseFirmware wideMouse(wide);
    sim::SimBackend other;
    other.addMouse(wideMouse, "wide");
    HidTransport wideLink(other);
    EXPECT_FALSE(wideLink.OpenMouse(0x1209, 0x5158));
    EXPECT_FALSE(wideLink.handlesValid());
    EXPECT_TRUE(wideMouse.traffic().empty()) << "no probe goes to a refused interface";
    EXPECT_EQ(other.openHandleCount(), 0);
}

TEST_F(Transport, LaterMatchingInterfaceProvidesTheHandles) {
    MouseFirmware second(sim::presetConfig(DeviceKind::Macro));
    backend.addMouse(second, "mouse-2");
    ASSERT_TRUE(link.OpenMouse(0x1209, 0x5158));
    EXPECT_EQ(link.devicePath(), "mouse-2");
    EXPECT_EQ(backend.openHandleCount(), 1) << "the first match's handle was closed";
    mouse.clearTraffic();
    second.clearTraffic();
    EXPECT_TRUE(link.SendCommand(0x19, 0, 0, 0, 0));
    EXPECT_EQ(mouse.counters().reloads, 0);
    EXPECT_EQ(second.counters().reloads, 1);
}

TEST_F(Transport, MatchWithFailingProbesIsTrueWithoutHandles) {
    // Refuse the command probe only: the data probe still provides a data handle.
    MouseFirmware refusing(sim::presetConfig(DeviceKind::Macro));
    refusing.refuseCommand(0x04);
    sim::SimBackend b;
    b.addMouse(refusing, "m");
    HidTransport t(b);
    EXPECT_TRUE(t.OpenMouse(0x1209, 0x5158));
    EXPECT_FALSE(t.handlesValid());
    EXPECT_FALSE(t.SendCommand(0x19, 0, 0, 0, 0));
    EXPECT_EQ(refusing.counters().reloads, 0);
    EXPECT_EQ(b.openHandleCount(), 1) << "the data handle is kept";
    t.Reset();
    EXPECT_EQ(b.openHandleCount(), 0);
}

TEST_F(Transport, CountsOnlyOpenableInterfaces) {
    EXPECT_EQ(link.CountHidDevices(), 2);
    backend.addDevice({"locked", 0x1234, 0x0001, 0, nullptr, true, false});
    EXPECT_EQ(link.CountHidDevices(), 2);
    mouse.unplug();
    EXPECT_EQ(link.CountHidDevices(), 1);
    EXPECT_EQ(backend.openHandleCount(), 0);
}

TEST_F(Transport, CommandsNeedAValidHandle) {
    EXPECT_FALSE(link.SendCommand(0x19, 0, 0, 0, 0));
    EXPECT_FALSE(link.SendData({}));
    EXPECT_EQ(link.ReceiveData(), (Chunk{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(mouse.traffic().empty());
}

TEST_F(Transport, ReadOfAnImageWritesExactlyItsLength) {
    open();
    std::vector<std::uint8_t> memoryBytes(256);
    std::iota(memoryBytes.begin(), memoryBytes.end(), std::uint8_t{0});
    mouse.program(0x6000, memoryBytes);
    std::vector<std::uint8_t> buffer(300, 0x55);
    int pumps = 0;
    ASSERT_TRUE(
        link.ReadBlock(Access::Long, 0x6000, 256, std::span(buffer).first(256), [&] { ++pumps; }));
    EXPECT_TRUE(std::equal(memoryBytes.begin(), memoryBytes.end(), buffer.begin()));
    EXPECT_TRUE(std::all_of(buffer.begin() + 256, buffer.end(), [](auto b) { return b == 0x55; }));
    EXPECT_EQ(fetches(), 37);
    EXPECT_EQ(pumps, 37);
    EXPECT_EQ(firstReport(), (Report{0x40, 0x0E, 0x60, 0x00, 0x01, 0x00, 0x00, 0x00}));

    // A target smaller than the block gets only what fits; the chunks are still fetched.
    std::array<std::uint8_t, 5> small{};
    mouse.clearTraffic();
    ASSERT_TRUE(link.ReadBlock(Access::Long, 0x6000, 14, small));
    EXPECT_EQ(small, (std::array<std::uint8_t, 5>{0, 1, 2, 3, 4}));
    EXPECT_EQ(fetches(), 2) << "14 bytes take exactly two reports";
}

TEST_F(Transport, RefusedReadLeavesTheTargetAllFF) {
    open();
    mouse.refuseCommand(0x0E);
    std::array<std::uint8_t, 16> target{};
    EXPECT_FALSE(link.ReadBlock(Access::Long, 0x6000, 16, target));
    EXPECT_TRUE(std::all_of(target.begin(), target.end(), [](auto b) { return b == 0xFF; }));
    EXPECT_EQ(fetches(), 0);
}

TEST_F(Transport, ShortAccessSendsOnlyTheLowAddressByte) {
    open();
    std::array<std::uint8_t, 6> id{};
    ASSERT_TRUE(link.ReadBlock(Access::Short, 0x6053, 6, id));
    EXPECT_EQ(firstReport(), (Report{0x40, 0x0B, 0x00, 0x53, 0x00, 0x06, 0x00, 0x00}));
    mouse.clearTraffic();
    const std::array<std::uint8_t, 3> bytes{1, 2, 3};
    ASSERT_TRUE(link.WriteBlock(Access::Short, 0x7010, 3, bytes));
    EXPECT_EQ(firstReport(), (Report{0x40, 0x09, 0x00, 0x10, 0x00, 0x03, 0x00, 0x00}));
}

TEST_F(Transport, WriteGoesToFlashAndStopsAtTheBlockEnd) {
    open();
    std::vector<std::uint8_t> block(1024);
    std::iota(block.begin(), block.end(), std::uint8_t{7});
    ASSERT_TRUE(link.SendCommand(0x11, 0x80, 0, 0, 0));         // erase 0x8000-0x8FFF
    mouse.program(0x8400, std::vector<std::uint8_t>(8, 0x0F));  // just past the block
    int pumps = 0;
    ASSERT_TRUE(link.WriteBlock(Access::Long, 0x8000, 1024, block, [&] { ++pumps; }));
    EXPECT_EQ(mouse.counters().dataReportsIn, 147);
    EXPECT_EQ(pumps, 147);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), mouse.read(0x8000, 1024).begin()));
    EXPECT_EQ(mouse.memory()[0x8400], 0x0F) << "the filler of the last report is not stored";
    // 1024 = 146 x 7 + 2: the last report carries two bytes of the block, then filler.
    EXPECT_EQ(mouse.traffic().back().report[2], block[1023]);
    EXPECT_EQ(mouse.traffic().back().report[3], 0xFF);

    // Without an erase, flash keeps only the bits both writes have.
    const std::array<std::uint8_t, 1> over{0xF0};
    ASSERT_TRUE(link.WriteBlock(Access::Long, 0x8001, 1, over));
    EXPECT_EQ(mouse.memory()[0x8001], block[1] & 0xF0);
}

TEST_F(Transport, RefusedWriteSendsNoData) {
    open();
    mouse.refuseCommand(0x12);
    const std::array<std::uint8_t, 4> bytes{1, 2, 3, 4};
    EXPECT_FALSE(link.WriteBlock(Access::Long, 0x7005, 4, bytes));
    EXPECT_EQ(mouse.counters().dataReportsIn, 0);
}

TEST_F(Transport, FailedFetchesContributeFF) {
    open();
    mouse.program(0x6000, std::vector<std::uint8_t>(14, 0x11));
    mouse.failFetches(true);
    std::array<std::uint8_t, 14> target{};
    EXPECT_TRUE(link.ReadBlock(Access::Long, 0x6000, 14, target));
    EXPECT_TRUE(std::all_of(target.begin(), target.end(), [](auto b) { return b == 0xFF; }));
}

TEST_F(Transport, MouseVanishingMidTransferFailsEveryLaterReportAtOnce) {
    open();
    mouse.program(0x8000, std::vector<std::uint8_t>(1024, 0x22));
    mouse.unplugAfter(11);  // the command and ten fetches
    std::vector<std::uint8_t> target(1024);
    EXPECT_TRUE(link.ReadBlock(Access::Long, 0x8000, 1024, target));
    EXPECT_EQ(target[69], 0x22);
    EXPECT_EQ(target[70], 0xFF);
    EXPECT_EQ(target[1023], 0xFF);
    EXPECT_FALSE(link.SendCommand(0x19, 0, 0, 0, 0));
    EXPECT_EQ(link.CountHidDevices(), 1) << "only the keyboard is left";
    link.Reset();
    EXPECT_EQ(backend.openHandleCount(), 0);
}

}  // namespace
}  // namespace device
