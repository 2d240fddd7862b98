// The hidraw backend through the kernel: quorvex-mouse-sim serves hidraw nodes over FUSE.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "device/hid_transport.h"
#include "device/linux/hidraw_backend.h"
#include "image/builtin_image.h"
#include "mounted_sim.h"

namespace device {
namespace {

#define SKIP_WITHOUT(sim) \
    if (!(sim).running()) GTEST_SKIP() << (sim).skipReason()

TEST(HidrawBackend, ListsHidrawNodesByNumber) {
    char tmpl[] = "/tmp/quorvex-list-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    for (const char* name : {"hidraw10", "hidraw2", "hidraw", "hidrawX", "hidraw3a", "mouse0"}) {
        const int fd = ::open((dir + "/" + name).c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    HidrawBackend backend(dir);
    EXPECT_EQ(backend.interfacePaths(),
              (std::vector<std::string>{dir + "/hidraw2", dir + "/hidraw10"}));
    // A plain file opens but answers no hidraw ioctl: no attributes, no report length.
    const HidHandle h = backend.open(dir + "/hidraw2");
    ASSERT_NE(h, kInvalidHandle);
    EXPECT_FALSE(backend.attributes(h));
    EXPECT_FALSE(backend.featureReportLength(h));
    backend.close(h);
    HidTransport link(backend);
    EXPECT_FALSE(link.OpenMouse(0x1209, 0x5158));
    for (const char* name : {"hidraw10", "hidraw2", "hidraw", "hidrawX", "hidraw3a", "mouse0"}) {
        ::unlink((dir + "/" + name).c_str());
    }
    ::rmdir(dir.c_str());
}

TEST(HidrawThroughFuse, ReadsAndWritesTheMouse) {
    e2e::MountedSim sim({"--extra-device", "046d:c31c"});
    SKIP_WITHOUT(sim);
    HidrawBackend backend(sim.dir());
    HidTransport link(backend);
    EXPECT_EQ(link.CountHidDevices(), 2);
    ASSERT_TRUE(link.OpenMouse(0x1209, 0x5158));
    ASSERT_TRUE(link.handlesValid());
    EXPECT_EQ(link.devicePath(), sim.dir() + "/hidraw0");

    std::array<std::uint8_t, 256> image{};
    ASSERT_TRUE(link.ReadBlock(Access::Long, 0x6000, 256, image));
    image::DataBuf builtIn;
    ASSERT_TRUE(image::LoadBuiltInImage(builtIn));
    EXPECT_EQ(image, builtIn.image);

    std::array<std::uint8_t, 5> parameterB{0x02, 0x01, 0x00, 0x04, 0x00};
    ASSERT_TRUE(link.SendCommand(kCmdSectorErase, 0x70, 0, 0, 0));
    ASSERT_TRUE(link.WriteBlock(Access::Long, 0x7000, 5, parameterB));
    ASSERT_TRUE(link.SendCommand(kCmdReload, 0, 0, 0, 0));
    const auto memory = sim.memory();
    ASSERT_EQ(memory.size(), 0x10000u);
    EXPECT_TRUE(std::equal(parameterB.begin(), parameterB.end(), memory.begin() + 0x7000));
    EXPECT_EQ(memory[0x7005], 0xFF) << "erased and not written";
    EXPECT_EQ(sim.counter("reloads"), 1);
    EXPECT_EQ(sim.counter("erases"), 1);
}

TEST(HidrawThroughFuse, LockedNodesAndWideReportsAreNotOffered) {
    e2e::MountedSim sim({"--feature-length", "16", "--locked-device", "1234:0001"});
    SKIP_WITHOUT(sim);
    HidrawBackend backend(sim.dir());
    EXPECT_EQ(backend.interfacePaths().size(), 2u);
    HidTransport link(backend);
    EXPECT_EQ(link.CountHidDevices(), 1) << "the node that refuses to open is not counted";
    EXPECT_FALSE(link.OpenMouse(0x1209, 0x5158)) << "feature report length 16";
}

TEST(HidrawThroughFuse, ANodeThisUserMayNotOpenIsToldByItsIds) {
    e2e::MountedSim sim({"--extra-device", "046d:c31c", "--locked-device", "1209:5158"});
    SKIP_WITHOUT(sim);
    // The kernel's sysfs for these nodes, as it tells every user their ids.
    const std::string sysfs = sim.dir() + "-sysfs";
    const std::pair<const char*, const char*> ids[] = {{"hidraw0", "0003:00001209:00005158"},
                                                       {"hidraw1", "0003:0000046D:0000C31C"},
                                                       {"hidraw2", "0003:00001209:00005158"}};
    for (const auto& [node, id] : ids) {
        std::filesystem::create_directories(sysfs + "/" + node + "/device");
        std::ofstream(sysfs + "/" + node + "/device/uevent")
            << "DRIVER=hid-generic\nHID_ID=" << id << "\nHID_NAME=x\n";
    }
    HidrawBackend backend(sim.dir(), sysfs);
    EXPECT_EQ(backend.deniedInterfaces(0x1209, 0x5158),
              std::vector<std::string>{sim.dir() + "/hidraw2"})
        << "the open mouse and the other device are not denied";
    EXPECT_TRUE(backend.deniedInterfaces(0x046D, 0xC31C).empty());
    EXPECT_TRUE(HidrawBackend(sim.dir()).deniedInterfaces(0x1209, 0x5158).empty())
        << "without sysfs for the folder nothing is claimed";
    std::filesystem::remove_all(sysfs);
}

TEST(HidrawThroughFuse, UnpluggedMouseFailsAtOnceAndComesBack) {
    e2e::MountedSim sim;
    SKIP_WITHOUT(sim);
    HidrawBackend backend(sim.dir());
    HidTransport link(backend);
    ASSERT_TRUE(link.OpenMouse(0x1209, 0x5158));
    ASSERT_TRUE(sim.control("fault unplug-after 20"));
    std::vector<std::uint8_t> macro(1024);
    EXPECT_TRUE(link.ReadBlock(Access::Long, 0x8000, 1024, macro));
    EXPECT_EQ(macro[19 * 7], 0xFF) << "fetches after the unplug contribute 0xFF";
    EXPECT_FALSE(link.SendCommand(kCmdReload, 0, 0, 0, 0));
    EXPECT_EQ(link.CountHidDevices(), 0);
    link.Reset();
    ASSERT_TRUE(sim.control("plug"));
    EXPECT_EQ(link.CountHidDevices(), 1);
    EXPECT_TRUE(link.OpenMouse(0x1209, 0x5158));
    EXPECT_TRUE(link.handlesValid());

    // Out and back in between two counts: the handle of the node that went answers nothing,
    // and the link no longer takes its mouse for present.
    ASSERT_TRUE(link.MouseStillPresent());
    ASSERT_TRUE(sim.control("unplug"));
    ASSERT_TRUE(sim.control("plug"));
    EXPECT_EQ(link.CountHidDevices(), 1);
    EXPECT_FALSE(link.SendCommand(kCmdReload, 0, 0, 0, 0));
    EXPECT_FALSE(link.MouseStillPresent());
    ASSERT_TRUE(link.OpenMouse(0x1209, 0x5158));
    EXPECT_TRUE(link.SendCommand(kCmdReload, 0, 0, 0, 0));
}

}  // namespace
}  // namespace device
