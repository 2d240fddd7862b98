// Presence polling and identification of the mouse.
#include <gtest/gtest.h>

#include "link_fixture.h"

namespace scenario {
namespace {

using device::DeviceKind;

enum class Outcome { ImageOnly, Macro, Silent, TypeError, IdError };

struct Row {
    const char* name;
    std::uint8_t classByte, option, layout, flash;
    Outcome outcome;
    std::uint8_t imageLayout = 58;
};

class Identification : public ::testing::TestWithParam<Row> {};

TEST_P(Identification, EveryRowOfTheTable) {
    const Row& row = GetParam();
    sim::FirmwareConfig c = sim::presetConfig(sim::DeviceKind::Macro);
    c.classByte = row.classByte;
    c.optionByte = row.option;
    c.layout = row.layout;
    c.flashRegister = row.flash;
    c.kind = row.classByte == 0x50 ? sim::DeviceKind::ImageOnly : sim::DeviceKind::Macro;
    LinkRig rig(c);
    if (row.imageLayout != 58) {
        rig.img.dataBuf.image[1] = row.imageLayout;
        // A layout-29 image keeps its ModelId at 83.
        rig.img.dataBuf.image[83] = 0x28;
        rig.img.dataBuf.image[84] = 0x02;
        rig.link.TakeStartupIdentity();
    }
    rig.firmware.program(0x6053, std::array<std::uint8_t, 2>{0x28, 0x02});
    rig.detect();

    const auto& w = rig.window;
    const int dataOut = rig.firmware.counters().dataReportsOut;
    switch (row.outcome) {
        case Outcome::ImageOnly:
        case Outcome::Macro:
            EXPECT_EQ(rig.link.deviceKind(),
                      row.outcome == Outcome::Macro ? DeviceKind::Macro : DeviceKind::ImageOnly);
            EXPECT_TRUE(rig.link.deviceOpen());
            EXPECT_TRUE(w.called("ShowDevicePages"));
            break;
        case Outcome::Silent:
            EXPECT_FALSE(rig.link.deviceOpen());
            EXPECT_TRUE(w.calls.empty()) << "a silent refusal leaves the window as it was";
            EXPECT_TRUE(w.messages.empty());
            EXPECT_EQ(rig.link.deviceKind(), DeviceKind::None);
            break;
        case Outcome::TypeError:
        case Outcome::IdError:
            EXPECT_FALSE(rig.link.deviceOpen());
            EXPECT_EQ(w.calls,
                      (std::vector<std::string>{
                          row.outcome == Outcome::TypeError ? "TypeErrorLabel" : "IdErrorLabel",
                          "RefreshErrorAP"}));
            EXPECT_LE(dataOut, 6) << "no image is transferred";
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Identification,
    ::testing::Values(Row{"ImageOnlyLayout29Option4", 0x50, 0x04, 29, 0x00, Outcome::ImageOnly, 29},
                      Row{"ImageOnlyLayout29Option12", 0x50, 0x0C, 29, 0x00, Outcome::ImageOnly,
                          29},
                      Row{"ImageOnlyLayout58Option4", 0x50, 0x04, 58, 0x00, Outcome::ImageOnly},
                      Row{"ImageOnlyLayout58Option12", 0x50, 0x0C, 58, 0x00, Outcome::Silent},
                      Row{"ImageOnlyOption0", 0x50, 0x00, 58, 0x00, Outcome::Silent},
                      Row{"MacroA0Option0", 0xA0, 0x00, 58, 0xC8, Outcome::Macro},
                      Row{"MacroA5Option8", 0xA5, 0x08, 58, 0xC8, Outcome::Macro},
                      Row{"MacroAALayout29", 0xAA, 0xF3, 29, 0xC8, Outcome::Macro, 29},
                      Row{"MacroFlash32", 0xA0, 0x00, 58, 0x9D, Outcome::Silent},
                      Row{"MacroFlashUnknown", 0xA0, 0x00, 58, 0x12, Outcome::Silent},
                      Row{"MacroOption4", 0xA0, 0x04, 58, 0xC8, Outcome::Silent},
                      Row{"MacroOption12", 0xA0, 0x0C, 58, 0xC8, Outcome::Silent},
                      Row{"OtherClass", 0x33, 0x04, 58, 0xC8, Outcome::Silent},
                      Row{"Layout58ForImage29", 0x50, 0x04, 58, 0x00, Outcome::TypeError, 29},
                      Row{"Layout29ForImage58", 0xA0, 0x00, 29, 0xC8, Outcome::TypeError}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Identification, RegisterCheckAndModelIdDecide) {
    {
        sim::FirmwareConfig c = sim::presetConfig(sim::DeviceKind::Macro);
        c.checkRegister = 0xAE;
        LinkRig rig(c);
        rig.detect();
        EXPECT_FALSE(rig.link.deviceOpen());
        EXPECT_TRUE(rig.window.calls.empty());
    }
    {
        LinkRig rig;
        rig.firmware.program(0x6057, std::array<std::uint8_t, 2>{0x28, 0x03});
        rig.detect();
        EXPECT_EQ(rig.window.calls, (std::vector<std::string>{"IdErrorLabel", "RefreshErrorAP"}));
        EXPECT_FALSE(rig.link.deviceOpen());
    }
    {
        LinkRig rig;
        rig.firmware.refuseCommand(0x16);
        rig.detect();
        EXPECT_FALSE(rig.link.deviceOpen());
        EXPECT_TRUE(rig.window.calls.empty());
    }
}

TEST(Identification, UnknownFlashRegisterKeepsThePreviousFlashClass) {
    LinkRig rig;
    rig.detect();
    ASSERT_EQ(rig.link.flashClass(), device::FlashClass::Class64);
    ASSERT_EQ(rig.link.deviceKind(), DeviceKind::Macro);
    // Another mouse whose flash register reads something else is still taken as class 64.
    sim::FirmwareConfig c = sim::presetConfig(sim::DeviceKind::Macro);
    c.flashRegister = 0x42;
    sim::MouseFirmware second(c);
    sim::programFactoryContents(second);
    rig.mouseIface->present = false;
    rig.backend.addMouse(second, "mouse-2");
    rig.backend.addDevice({"extra", 0x1111, 0x2222, 0, nullptr});
    rig.detect();
    EXPECT_EQ(rig.link.flashClass(), device::FlashClass::Class64);
    EXPECT_EQ(rig.transport.devicePath(), "mouse-2");
    EXPECT_EQ(rig.link.deviceKind(), DeviceKind::Macro);
}

TEST(Polling, TheFirstLookOpensAtOnceAnArrivalWaitsTwoSeconds) {
    LinkRig rig;
    rig.detect();
    EXPECT_TRUE(rig.host.sleeps.empty()) << "a mouse there at start is opened at once";
    EXPECT_EQ(rig.link.lastInterfaceCount(), 2);
    // Nothing changed: the next tick only counts.
    rig.window.calls.clear();
    rig.firmware.clearTraffic();
    rig.detect();
    EXPECT_TRUE(rig.window.calls.empty());
    EXPECT_EQ(rig.firmware.counters().commands, 0);
    // A mouse that arrives gets its time to settle.
    rig.firmware.unplug();
    rig.detect();
    rig.firmware.plug();
    rig.detect();
    EXPECT_TRUE(rig.link.deviceOpen());
    EXPECT_EQ(rig.host.sleeps, (std::vector<int>{2000, 2000})) << "the lost one, the new one";
}

TEST(Polling, NoMouseShowsTheNoDevicePageThroughTheEmptyEntry) {
    LinkRig rig;
    rig.firmware.unplug();
    rig.detect();
    EXPECT_EQ(rig.window.calls, std::vector<std::string>{"ShowNoDevicePage"});
    EXPECT_EQ(rig.link.lastInterfaceCount(), 1);
    EXPECT_TRUE(rig.host.sleeps.empty()) << "no open delay at the first look";
}

TEST(Polling, UnpluggingTheMouseBringsTheNoDevicePage) {
    LinkRig rig;
    rig.detect();
    ASSERT_TRUE(rig.link.deviceOpen());
    rig.firmware.unplug();
    rig.window.calls.clear();
    rig.detect();
    EXPECT_FALSE(rig.link.deviceOpen());
    ASSERT_FALSE(rig.window.calls.empty());
    EXPECT_EQ(rig.window.calls.back(), "ShowNoDevicePage");
    EXPECT_FALSE(rig.window.called("ShowDevicePages"));
    EXPECT_EQ(rig.link.deviceKind(), DeviceKind::None);
}

// Plugging in another HID device must not throw away edits that were not applied yet.
TEST(Polling, UnrelatedDeviceKeepsTheLinkAndTheEdits) {
    LinkRig rig;
    rig.detect();
    ASSERT_TRUE(rig.link.deviceOpen());
    rig.img.sectionBuf[28] = 0x01;  // an edit not yet applied
    rig.backend.addDevice({"headset", 0x0D8C, 0x0014, 0, nullptr});
    rig.window.calls.clear();
    rig.firmware.clearTraffic();
    rig.detect();
    EXPECT_TRUE(rig.link.deviceOpen());
    EXPECT_EQ(rig.link.lastInterfaceCount(), 3);
    EXPECT_TRUE(rig.window.calls.empty());
    EXPECT_EQ(rig.firmware.counters().commands, 0) << "the mouse was not read again";
    EXPECT_EQ(rig.img.sectionBuf[28], 0x01);

    // Removing it again: the same.
    rig.backend.find("headset")->present = false;
    rig.detect();
    EXPECT_TRUE(rig.link.deviceOpen());
    EXPECT_EQ(rig.link.lastInterfaceCount(), 2);
    EXPECT_EQ(rig.firmware.counters().commands, 0);
}

// Lists that change between the two counts of a pair are not trusted.
class FlickeringBackend : public sim::SimBackend {
  public:
    int calls = 0;
    int flickerUntil = 0;  // before this call, every second list comes back empty
    std::vector<std::string> interfacePaths() override {
        auto paths = sim::SimBackend::interfacePaths();
        const int call = calls++;
        if (call < flickerUntil && call % 2 == 1) paths.clear();
        return paths;
    }
};

TEST(Polling, NeedsAtLeastTwoStablePairs) {
    sim::MouseFirmware firmware(sim::presetConfig(sim::DeviceKind::Macro));
    sim::programFactoryContents(firmware);
    FlickeringBackend backend;
    backend.addMouse(firmware, "mouse");
    device::HidTransport transport(backend);
    RecordingWindow window;
    VirtualHost host;
    image::EditorImage img;
    ASSERT_TRUE(image::LoadBuiltInImage(img.dataBuf));
    device::DeviceLink link(transport, window, host, img);
    link.TakeStartupIdentity();

    backend.flickerUntil = 8;  // pairs 1-4 unstable, only pair 5 stable
    link.DevTimerTimer();
    EXPECT_EQ(link.lastInterfaceCount(), 0) << "one stable pair: nothing happens";
    EXPECT_TRUE(window.calls.empty());

    backend.calls = 0;
    backend.flickerUntil = 6;  // pairs 4 and 5 stable
    link.DevTimerTimer();
    EXPECT_EQ(link.lastInterfaceCount(), 1);
    EXPECT_TRUE(link.deviceOpen());
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

TEST(Access, AMouseThisUserMayNotOpenIsToldOncePerPlug) {
    LinkRig rig;
    rig.mouseIface->openable = false;
    rig.detect();
    rig.detect();
    EXPECT_FALSE(rig.link.deviceOpen());
    EXPECT_EQ(rig.window.messages, std::vector<std::string>{"Str041"}) << "once, not every tick";

    rig.firmware.unplug();
    rig.detect();
    rig.firmware.plug();
    rig.detect();
    EXPECT_EQ(rig.window.messages.size(), 2u) << "plugged in again, still locked: told again";

    rig.mouseIface->openable = true;  // the udev rule is in place
    rig.detect();
    EXPECT_TRUE(rig.link.deviceOpen());
    EXPECT_EQ(rig.window.messages.size(), 2u);
}

}  // namespace
}  // namespace scenario
