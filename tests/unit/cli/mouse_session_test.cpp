// quorvex-ctl's work on the in-process simulated mouse: dump, load, dump agree, and each kind of
// failure ends in its own exit code with the user's message.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "cli/mouse_session.h"
#include "sim/sim_presets.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

std::string temp(const std::string& name) {
    return (fs::temp_directory_path() / ("quorvex-ctl-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

std::vector<char> bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Time without waiting.
struct NoWait : device::LinkHost {
    void sleep(int) override {}
    void processMessages() override {}
};

struct Ctl : ::testing::Test {
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    NoWait host;
    std::optional<std::string> backupFolder;
    std::vector<std::string> warnings;
    void TearDown() override {
        for (const char* f : {"a.bin", "b.bin", "c.bin", "other.bin"}) fs::remove(temp(f));
        fs::remove_all(temp("backups"));
    }
    // One run of quorvex-ctl: connect, then the command.
    int run(const std::function<int(MouseSession&)>& command, std::string* error = nullptr) {
        MouseSession s(mouse, nullptr, &host, backupFolder);
        int code = s.connect();
        if (code == kOk) code = command(s);
        if (error) *error = s.error();
        warnings = s.warnings();
        return code;
    }
};

TEST_F(Ctl, DumpLoadDumpGiveTheSameFile) {
    ASSERT_EQ(run([](MouseSession& s) { return s.dump(temp("a.bin")); }), kOk);
    ASSERT_EQ(run([](MouseSession& s) { return s.load(temp("a.bin")); }), kOk);
    EXPECT_GT(mouse.firmware.counters().erases, 0) << "load writes the mouse";
    ASSERT_EQ(run([](MouseSession& s) { return s.dump(temp("b.bin")); }), kOk);
    EXPECT_EQ(bytes(temp("a.bin")), bytes(temp("b.bin")));
    EXPECT_EQ(bytes(temp("a.bin")).size(), 34048u);

    // A profile of another rate is written with the reload after a rate change.
    auto file = bytes(temp("a.bin"));
    file[28] = file[28] == 1 ? 2 : 1;
    file[31] = char((file[27] + file[28] + file[29] + file[30]) ^ 0x5A);  // its check byte
    std::ofstream(temp("c.bin"), std::ios::binary).write(file.data(), std::streamsize(file.size()));
    const int switchesBefore = mouse.firmware.counters().rateSwitches;
    ASSERT_EQ(run([](MouseSession& s) { return s.load(temp("c.bin")); }), kOk);
    EXPECT_EQ(mouse.firmware.counters().rateSwitches, switchesBefore + 1);
}

TEST_F(Ctl, EachFailureHasItsExitCode) {
    ASSERT_EQ(run([](MouseSession& s) { return s.dump(temp("a.bin")); }), kOk);
    auto other = bytes(temp("a.bin"));
    other[2] ^= 0xFF;  // another vendor id
    std::ofstream(temp("other.bin"), std::ios::binary)
        .write(other.data(), std::streamsize(other.size()));
    std::ofstream(temp("c.bin")) << "short";

    std::string error;
    EXPECT_EQ(run([](MouseSession& s) { return s.load(temp("missing.bin")); }, &error), kBadFile);
    EXPECT_NE(error.find("missing.bin"), std::string::npos) << error;
    EXPECT_EQ(run([](MouseSession& s) { return s.load(temp("c.bin")); }, &error), kBadFile);
    EXPECT_NE(error.find("34048"), std::string::npos) << error;
    EXPECT_EQ(run([](MouseSession& s) { return s.load(temp("other.bin")); }), kBadFile);
    EXPECT_EQ(run([](MouseSession& s) { return s.dump(fs::temp_directory_path().string()); }),
              kBadFile)
        << "a folder is never replaced";

    // Gone in the middle of the write, after the whole read of the connection.
    mouse.firmware.clearTraffic();
    ASSERT_EQ(run([](MouseSession&) { return kOk; }), kOk);
    mouse.firmware.unplugAfter(mouse.firmware.traffic().size() + 3);
    EXPECT_EQ(run([](MouseSession& s) { return s.load(temp("a.bin")); }, &error), kTransferFailed);
    EXPECT_FALSE(error.empty());
    mouse.firmware.plug();

    mouse.firmware.refuseCommand(0x11);
    EXPECT_EQ(run([](MouseSession& s) { return s.reset(); }), kTransferFailed);
    mouse.firmware.clearFaults();

    mouse.firmware.unplug();
    EXPECT_EQ(run([](MouseSession& s) { return s.info(stdout); }, &error), kNoMouse);
    EXPECT_NE(error.find("No Device"), std::string::npos) << error;
}

// load and reset first keep what the mouse holds beside the older backups, of which ten stay.
TEST_F(Ctl, LoadAndResetFirstBackUpTheMouse) {
    ASSERT_EQ(run([](MouseSession& s) { return s.dump(temp("a.bin")); }), kOk);
    const fs::path folder = temp("backups");
    fs::create_directories(folder);
    for (int day = 1; day <= 9; ++day)
        std::ofstream(folder / ("2000010" + std::to_string(day) + "-000000-1209-5158-macro.bin"));
    backupFolder = folder.string();
    ASSERT_EQ(run([](MouseSession& s) { return s.load(temp("a.bin")); }), kOk);
    ASSERT_EQ(run([](MouseSession& s) { return s.reset(); }), kOk);
    std::vector<fs::path> names{fs::directory_iterator(folder), {}};
    std::ranges::sort(names);
    ASSERT_EQ(names.size(), 10u);
    EXPECT_EQ(names[0].filename(), "20000102-000000-1209-5158-macro.bin");
    EXPECT_EQ(bytes(names[8]), bytes(temp("a.bin"))) << "before load";
    EXPECT_EQ(bytes(names[9]), bytes(temp("a.bin"))) << "before reset";
    EXPECT_TRUE(warnings.empty());

    backupFolder = "/proc/version/backups";
    EXPECT_EQ(run([](MouseSession& s) { return s.reset(); }), kOk) << "the write goes on";
    EXPECT_EQ(warnings.size(), 1u);
}

TEST(CtlRefusal, AMouseOfAnotherTypeIsRefused) {
    sim::FirmwareConfig config = sim::presetConfig(sim::DeviceKind::Macro);
    config.layout = 29;  // the built-in image has layout 58
    sim::MouseFirmware firmware(config);
    sim::programFactoryContents(firmware);
    sim::SimBackend backend;
    backend.addMouse(firmware, "m");
    NoWait host;
    MouseSession s(backend, nullptr, &host);
    EXPECT_EQ(s.connect(), kRefusedMouse);
    EXPECT_FALSE(s.error().empty());
}

}  // namespace
}  // namespace cli
