// quorvex-ctl's work on the in-process simulated mouse: dump, load, dump agree, and each kind of
// failure ends in its own exit code with the user's message.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "cli/mouse_session.h"
#include "settings/image_settings.h"
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
    EXPECT_EQ(run([](MouseSession& s) { return s.info(stdout, false); }, &error), kNoMouse);
    EXPECT_NE(error.find("No Device"), std::string::npos) << error;
}

// What `get` prints for one setting, read afresh from the mouse.
std::string got(Ctl& t, const std::optional<std::string>& name) {
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    t.run([&](MouseSession& s) { return s.get(out, name, false); });
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

// The names completion offers are the ones set takes, and every one of get that set takes is among
// them.
TEST_F(Ctl, SettingNamesAreTheOnesSetTakes) {
    const auto names = settings::settingNames();
    for (const std::string& name : names) {
        std::string error;
        run([&](MouseSession& s) { return s.set({name + "=?"}); }, &error);
        EXPECT_EQ(error.find("unknown setting"), std::string::npos) << name << ": " << error;
    }
    std::istringstream lines(got(*this, std::nullopt));
    for (std::string line; std::getline(lines, line);) {
        const std::string name = line.substr(0, line.find(" = "));
        // Shown, not set: profile 3, the colour chosen on the mouse, the macros' names and lengths.
        if (name.starts_with("profile3.") || name.starts_with("macro") ||
            name == "light.mouse-colour")
            continue;
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
}

// Every kind of setting as the window would take it, and every bad input refused with exit 2,
// a message naming what is allowed, and nothing written.
TEST_F(Ctl, SetTakesEveryKindOfSettingAndRefusesBadInput) {
    struct Row {
        std::vector<std::string> set;
        int code;
        std::string shown;  // "name = value" afterwards, or a part of the refusal
    };
    const Row rows[] = {
        {{"profile1.button5=media:volume-up"}, kOk, "profile1.button5 = media:volume-up"},
        {{"profile2.button6=keys:ctrl+shift+b"}, kOk, "profile2.button6 = keys:ctrl+shift+b"},
        {{"profile1.button4=macro:3"}, kOk, "profile1.button4 = macro:3"},
        {{"profile1.button9=fire:2"}, kOk, "profile1.button9 = fire:2"},
        {{"profile1.button2=mouse:left"}, kOk, "profile1.button1 = mouse:right"},  // exchanged
        {{"dpi=1000,1600,3200", "dpi.current=1600"}, kOk, "dpi.current = 1600"},
        {{"dpi=600,800"}, kOk, "dpi.current = 600"},  // the current level went: the lowest
        {{"rate=1000"}, kOk, "rate = 1000"},
        {{"light.mode=custom", "light.off=3"}, kOk, "light.off = 3"},
        {{"light.colour=60,10,7"}, kOk, "light.colour = 60,10,7"},
        {{"firekey2=3x40"}, kOk, "firekey2 = 3x40"},
        {{"firekey3=0x0"}, kOk, "firekey3 = 0x0"},
        {{"profile2.button5=fire-mode", "fire-modes=1,3"}, kOk, "fire-modes = 1,3"},
        {{"profile1.buton5=aim"}, kUsage, "settings are profile1.button1"},
        {{"dpii=600,800"}, kUsage, "unknown setting"},
        {{"dpi=600"}, kUsage, "two to four DPI levels, not 1"},
        {{"dpi=600,800,1000,1600,2400"}, kUsage, "two to four"},
        {{"dpi=600,700"}, kUsage, "the levels are 600, 800, 1000"},
        {{"dpi.current=5200"}, kUsage, "one of the chosen levels (600, 800)"},
        {{"rate=750"}, kUsage, "rate is 500 or 1000"},
        {{"profile3.button5=aim"}, kUsage, "profile 3 is read-only"},
        {{"profile1.button1=aim"}, kUsage, "buttons 1 to 3 take mouse:left"},
        {{"profile1.button5=macro:0"}, kUsage, "macro:1 to macro:32"},
        {{"profile1.button5=macro:33"}, kUsage, "macro:1 to macro:32"},
        {{"profile1.button5=keys:ctrl+shift"}, kUsage, "needs a key"},
        {{"profile1.button5=keys:ctrl+nokey"}, kUsage, "no key the mouse can send"},
        {{"profile1.button5=volume"}, kUsage, "media:volume-up"},
        {{"firekey1=1x40"}, kUsage, "repeat count of 0 or 2 to 15"},
        {{"firekey1=3x2001"}, kUsage, "2000"},
        {{"light.colour=101,0,0"}, kUsage, "0 to 100"},
        {{"light.mode=blink"}, kUsage, "random, colorful or custom"},
        {{"fire-modes=1,2,3,4"}, kUsage, "one to three"},
        {{"rate=500", "dpi=600"}, kUsage, "nothing was written"},  // one refusal stops all
        {{"noequals"}, kUsage, "NAME=VALUE"},
    };
    const int switchesBefore = mouse.firmware.counters().rateSwitches;
    for (const Row& row : rows) {
        const auto erasesBefore = mouse.firmware.counters().erases;
        std::string error;
        EXPECT_EQ(run([&](MouseSession& s) { return s.set(row.set); }, &error), row.code)
            << row.set[0] << ": " << error;
        if (row.code == kOk) {
            const std::string name = row.shown.substr(0, row.shown.find(" = "));
            EXPECT_EQ(got(*this, name), row.shown + "\n") << row.set[0];
        } else {
            EXPECT_NE(error.find(row.shown), std::string::npos) << row.set[0] << ": " << error;
            EXPECT_EQ(mouse.firmware.counters().erases, erasesBefore) << row.set[0];
        }
    }
    // Only the rate row changed the rate: its write alone ended with the rate switch.
    EXPECT_EQ(mouse.firmware.counters().rateSwitches, switchesBefore + 1);
}

TEST_F(Ctl, MacroSlotsExportImportAndClear) {
    ASSERT_EQ(run([](MouseSession& s) { return s.macroExport(2, temp("a.bin")); }), kOk);
    EXPECT_EQ(bytes(temp("a.bin")).size(), 1056u);
    ASSERT_EQ(run([](MouseSession& s) { return s.macroImport(5, temp("a.bin")); }), kOk);
    EXPECT_EQ(got(*this, "macro5.length"), got(*this, "macro2.length").replace(5, 1, "5"));
    ASSERT_EQ(run([](MouseSession& s) { return s.macroClear(5); }), kOk);
    EXPECT_EQ(got(*this, "macro5.length"), "macro5.length = 0\n");

    std::string error;
    EXPECT_EQ(run([](MouseSession& s) { return s.macroClear(33); }, &error), kUsage);
    auto damaged = bytes(temp("a.bin"));
    damaged[0] = char(0x04);  // data length 0x0405: above 1024
    damaged[1] = char(0x05);
    std::ofstream(temp("b.bin"), std::ios::binary)
        .write(damaged.data(), std::streamsize(damaged.size()));
    EXPECT_EQ(run([](MouseSession& s) { return s.macroImport(5, temp("b.bin")); }, &error),
              kBadFile);
    EXPECT_NE(error.find("Nothing was imported"), std::string::npos) << error;
}

TEST_F(Ctl, AMouseThatDoesNotAnswerIsNotNoMouse) {
    mouse.firmware.failFetches(true);
    std::string error;
    EXPECT_EQ(run([](MouseSession& s) { return s.get(stdout, std::nullopt, false); }, &error),
              kUnreadable);
    EXPECT_EQ(error.find("No Device"), std::string::npos) << error;
    EXPECT_EQ(error.find("Apply"), std::string::npos) << error;
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
