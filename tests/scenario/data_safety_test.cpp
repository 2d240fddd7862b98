// Nothing the user has is lost: incomplete reads, cut writes, closing during a transfer, an
// erased mouse and the backups before writes and Resets.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "app/main_form.h"
#include "device/hid_transport.h"
#include "every_sector.h"
#include "fake_host.h"
#include "image/builtin_image.h"
#include "image/sections.h"
#include "sim/sim_presets.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::span<const std::uint8_t> s) {
    return {s.begin(), s.end()};
}

struct DataSafety : ::testing::Test {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    sim::MouseFirmware& fw = mouse.firmware;
    app::TForm1 form{host, mouse};
    fs::path backups = fs::temp_directory_path() /
                       ("quorvex-backups-" + std::to_string(::getpid()) + "-" +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name());

    void SetUp() override {
        fs::remove_all(backups);
        form.setBackupFolder(backups.string());
        // Faults are injected at queue runs, which only a read under the wait window has;
        // the read behind the pages has its own cases.
        form.link().setBackgroundMacroRead(false);
        form.FormCreate();
    }
    void TearDown() override { fs::remove_all(backups); }
    void tick() { host.advance(3500); }
    std::string text(const char* key) { return form.languageText(key); }
    bool told(const char* key) {
        return std::find(host.messages.begin(), host.messages.end(), text(key)) !=
               host.messages.end();
    }
    Bytes memory(std::uint16_t address, std::size_t n) { return bytesOf(fw.read(address, n)); }
    // The ten sectors a write erases.
    Bytes memoryWritten() { return memory(0x6000, 0xA000); }
    // A fresh detection: the mouse goes, then comes back with `arm` done just before.
    void replug(const std::function<void()>& arm = {}) {
        fw.unplug();
        tick();
        fw.plug();
        if (arm) arm();
        tick();
    }
    // Everything a write puts into the mouse equals what the editor meant to write.
    void expectMouseHoldsTheEditor() {
        const image::EditorImage& img = form.editorImage();
        EXPECT_EQ(memory(0x6000, 256), bytesOf(img.dataBuf.image));
        EXPECT_EQ(memory(0x6400, 1024), bytesOf(img.dataBuf.macroNames));
        for (std::size_t i = 0; i < 32; ++i)
            EXPECT_EQ(memory(static_cast<std::uint16_t>(0x8000 + i * 0x400), 1024),
                      bytesOf(img.dataBuf.macros[i]))
                << "macro " << i;
        EXPECT_EQ(memory(0x7000, 5),
                  bytesOf(image::sectionBytes(img.sectionBuf, image::kParameterB)));
        EXPECT_EQ(memory(0x7005, 4),
                  bytesOf(image::sectionBytes(img.sectionBuf, image::kUserBreath)));
    }
    // Fires `action` at the n-th queue run from now, once. The link runs the queue before
    // every report of a transfer.
    void atQueueRun(int n, std::function<void()> action) {
        const int at = host.queueRuns + n;
        host.onProcessMessages = [this, at, action] {
            if (host.queueRuns == at) action();
        };
    }
    void failFetchesDuringQueueRuns(int from, int to) {
        const int base = host.queueRuns;
        host.onProcessMessages = [this, base, from, to] {
            const int n = host.queueRuns - base;
            fw.failFetches(n >= from && n < to);
        };
    }
    // Fetches fail while the last block read asked for `address`: that one block is lost.
    void loseReadsAt(std::uint16_t address) {
        host.onProcessMessages = [this, address] {
            const auto& log = fw.traffic();
            const auto command = std::find_if(log.rbegin(), log.rend(), [](const auto& e) {
                return e.direction == sim::TrafficEntry::SetFeature && e.report[0] == 0x40;
            });
            fw.failFetches(command != log.rend() && command->report[1] == device::kCmdLongRead &&
                           (command->report[2] << 8 | command->report[3]) == address);
        };
    }
    // What the mouse holds, as a backup or profile file carries it (layout 58).
    Bytes heldAsProfile() {
        Bytes file = memory(0x6000, 256), names = memory(0x6400, 1024),
              macros = memory(0x8000, 0x8000);
        std::ranges::copy(memory(0x7000, 9), file.begin() + 27);
        file.insert(file.end(), names.begin(), names.end());
        file.insert(file.end(), macros.begin(), macros.end());
        return file;
    }
    std::vector<fs::path> backupFiles() {
        return {fs::directory_iterator(backups), fs::directory_iterator()};
    }
    static Bytes fileBytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void rename(int slot, const std::string& name) {
        form.Btn_MacroClick();
        form.at("LB_MacroName").setItemIndex(slot);
        form.SetMacroName(name);
    }
};

// A read that lost a block never leads to a write; the next tick reads the mouse again.
TEST_F(DataSafety, AnIncompleteReadWritesNothingUntilTheMouseIsReadAgain) {
    struct Case {
        const char* what;
        std::function<void()> arm;
    };
    // Long reads at detection: 1 ModelId, 2 image, 3-4 sections, 5 names, 6-37 macros.
    const std::vector<Case> cases{
        {"refused image read", [this] { fw.refuseCommandAfter(device::kCmdLongRead, 1); }},
        {"refused macro read", [this] { fw.refuseCommandAfter(device::kCmdLongRead, 5); }},
        {"refused section read", [this] { fw.refuseCommandAfter(device::kCmdLongRead, 2); }},
        {"lost fetches in a macro", [this] { failFetchesDuringQueueRuns(400, 410); }},
        {"lost fetches in the image", [this] { failFetchesDuringQueueRuns(5, 6); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host.messages.clear();
        replug([&] { c.arm(); });
        host.onProcessMessages = {};
        fw.clearFaults();
        ASSERT_TRUE(form.link().deviceOpen());
        const Bytes before = memoryWritten();
        const auto counters = fw.counters();
        form.link().Btn_ApplyClick();
        form.link().Btn_ConfirmClick();
        EXPECT_TRUE(told("Str026"));
        EXPECT_EQ(fw.counters().dataReportsIn, counters.dataReportsIn) << "nothing written";
        EXPECT_EQ(fw.counters().erases, counters.erases);
        EXPECT_EQ(memoryWritten(), before) << "the mouse keeps what it held";
        EXPECT_EQ(host.closeRequests, 0) << "Confirm wrote nothing, so the window stays";

        tick();  // the mouse is still there: read again, completely this time
        host.messages.clear();
        form.link().Btn_ApplyClick();
        EXPECT_TRUE(host.messages.empty());
        expectMouseHoldsTheEditor();
        EXPECT_EQ(memory(0x8000, 1024), Bytes(before.begin() + 0x2000, before.begin() + 0x2400))
            << "the demo macro survived";
    }
}

// A close request that comes while a transfer runs waits for its end.
TEST_F(DataSafety, ClosingWaitsForTheTransfer) {
    tick();
    rename(2, "Edited");
    bool allowed = true;
    atQueueRun(150, [&] { allowed = form.FormCloseQuery(); });
    form.link().Btn_ApplyClick();
    EXPECT_FALSE(allowed) << "held during the write";
    EXPECT_EQ(host.closeRequests, 1) << "and carried out after it";
    EXPECT_TRUE(host.messages.empty());
    expectMouseHoldsTheEditor();
    EXPECT_EQ(fw.counters().reloads, 1);
    EXPECT_TRUE(form.FormCloseQuery()) << "no operation runs now";
}

// Confirm closes only after a complete write; Apply, Confirm and Reset tell every failure.
TEST_F(DataSafety, EveryFailedWriteIsToldAndConfirmThenStaysOpen) {
    struct Case {
        const char* what;
        std::function<void()> arm;
    };
    const std::vector<Case> faults{
        {"refused erase", [this] { fw.refuseCommandAfter(device::kCmdSectorErase, 3); }},
        {"refused data reports", [this] { fw.failDataReports(true); }},
        {"refused reload", [this] { fw.refuseCommand(device::kCmdReload); }},
        {"unplugged in the macros", [this] { fw.unplugAfter(2000); }},
    };
    const std::vector<std::pair<const char*, std::function<void()>>> buttons{
        {"Apply", [this] { form.link().Btn_ApplyClick(); }},
        {"Confirm", [this] { form.link().Btn_ConfirmClick(); }},
        {"Reset", [this] { form.link().Btn_ResetClick(); }},
    };
    tick();
    for (const auto& [button, press] : buttons) {
        for (const Case& c : faults) {
            SCOPED_TRACE(std::string(button) + ", " + c.what);
            replug();
            ASSERT_TRUE(form.link().deviceOpen());
            host.messages.clear();
            differInEverySector(form.editorImage().dataBuf);  // so that every fault is reached
            c.arm();
            press();
            fw.clearFaults();
            fw.plug();
            EXPECT_EQ(host.messages, std::vector<std::string>{text("Str023")});
            EXPECT_EQ(host.closeRequests, 0);
        }
    }
}

// A mouse left erased by a cut write in an earlier run is recovered with Reset.
TEST_F(DataSafety, AnErasedMouseIsRecoveredByReset) {
    fw.program(0x6000, Bytes(0x2000, 0xFF));  // image, names and both section copies
    const Bytes macros = memory(0x8000, 0x8000);
    tick();
    EXPECT_EQ(host.messages, std::vector<std::string>{text("Str028")});
    EXPECT_FALSE(form.at("lbl_IDError").visible());
    EXPECT_TRUE(form.link().deviceOpen());
    const int reportsIn = fw.counters().dataReportsIn;
    form.link().Btn_ApplyClick();
    EXPECT_EQ(host.messages.back(), text("Str028")) << "Apply has nothing read to write";
    EXPECT_EQ(fw.counters().dataReportsIn, reportsIn);
    EXPECT_EQ(memory(0x8000, 0x8000), macros);

    // A profile that passes its checks may be written into it too.
    const fs::path profile = backups / "profile.bin";
    fs::create_directories(backups);
    host.saveNames = {profile.string()};
    form.Btn_SaveClick();
    host.openNames = {profile.string()};
    form.Btn_LoadClick();
    host.messages.clear();
    form.link().Btn_ApplyClick();
    EXPECT_TRUE(host.messages.empty());
    expectMouseHoldsTheEditor();

    fw.program(0x6000, Bytes(0x2000, 0xFF));
    replug();
    host.messages.clear();
    form.link().Btn_ResetClick();
    EXPECT_TRUE(host.messages.empty());
    image::DataBuf factory;
    image::LoadBuiltInImage(factory);
    EXPECT_EQ(memory(0x6000, 256), bytesOf(factory.image));
    EXPECT_EQ(memory(0x7000, 9), (Bytes{0x01, 0x02, 0x00, 0x04, 0x5D, 0x00, 0x00, 0x00, 0x5A}))
        << "the erased copies get their defaults";
    form.link().Btn_ApplyClick();
    EXPECT_TRUE(host.messages.empty()) << "after Reset the editor holds what the mouse holds";
    expectMouseHoldsTheEditor();
}

TEST_F(DataSafety, AnotherModelIdStillGetsTheIdError) {
    fw.program(0x6057, Bytes{0x12, 0x34});
    tick();
    EXPECT_TRUE(form.at("lbl_IDError").visible());
    EXPECT_FALSE(form.link().deviceOpen());
}

// What the mouse held is saved once, before the first write after it was read.
TEST_F(DataSafety, ABackupPrecedesTheFirstWrite) {
    tick();
    const Bytes held = heldAsProfile();
    rename(0, "Changed");
    form.link().Btn_ApplyClick();
    form.link().Btn_ApplyClick();
    const auto files = backupFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files[0].filename().string().ends_with("-1209-5158-macro.bin"));
    EXPECT_EQ(fileBytes(files[0]), held);

    // The backup loads as a profile, and brings the old name back.
    host.openNames = {files[0].string()};
    form.Btn_LoadClick();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_NE(form.at("LB_MacroName").items()[0], "Changed");
}

// Every Reset first keeps what the editor knows the mouse holds: after an incomplete read the
// blocks as they came (the lost one 0xFF, not the editor's old contents), after an Apply what it
// wrote. Edits made after the Reset are not read over by the next tick.
TEST_F(DataSafety, EveryResetFirstBacksUpWhatTheMouseHolds) {
    struct Case {
        const char* what;
        std::function<void()> before;
        long lostAt;  // where the profile file misses the 1024 bytes of a failed block; or -1
    };
    const std::vector<Case> cases{
        // The macros are still read after a failed page block, and kept. First, while the
        // mouse still holds its demo macro, which the Reset after it erases.
        {"a lost name block", [this] { replug([this] { loseReadsAt(0x6400); }); }, 256},
        {"an incomplete read", [this] { replug([this] { loseReadsAt(0x8000); }); }, 1280},
        {"an Apply", [this] { replug(), rename(1, "Applied"), form.link().Btn_ApplyClick(); },
         -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.before();
        host.onProcessMessages = {};
        fw.clearFaults();
        const bool partial = c.lostAt >= 0;
        ASSERT_EQ(!form.link().mouseContents(), partial);
        fs::remove_all(backups);
        Bytes expected = heldAsProfile();
        if (partial) std::fill_n(expected.begin() + c.lostAt, 1024, 0xFF);
        form.link().Btn_ResetClick();
        const auto files = backupFiles();
        ASSERT_EQ(files.size(), 1u);
        EXPECT_TRUE(files[0].string().ends_with(partial ? "-1209-5158-macro-partial.bin"
                                                        : "-1209-5158-macro.bin"));
        EXPECT_EQ(fileBytes(files[0]), expected);

        rename(2, "After");
        tick();
        EXPECT_EQ(form.at("LB_MacroName").items()[2], "After") << "the mouse is not read again";
    }
}

TEST_F(DataSafety, ABackupThatCannotBeWrittenIsToldOnceAndTheWriteGoesOn) {
    form.setBackupFolder("/proc/version/backups");
    tick();
    form.link().Btn_ApplyClick();
    replug();
    form.link().Btn_ApplyClick();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind(text("Str035"), 0), 0u);
    expectMouseHoldsTheEditor();
}

}  // namespace
}  // namespace scenario
