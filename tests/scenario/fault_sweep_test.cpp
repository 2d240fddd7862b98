// The mouse goes away, or refuses a block, at report after report of a full write, of the read
// at detection and of Reset. Every case ends told as it should be, with the editor's data
// intact; then the mouse comes back and one Apply leaves exactly the intended bytes in it.
#include <gtest/gtest.h>

#include <functional>

#include "app/main_form.h"
#include "device/hid_transport.h"
#include "every_sector.h"
#include "fake_host.h"
#include "image/sections.h"
#include "sim/sim_presets.h"

namespace scenario {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Every third report index: every index takes about 40 s here, and minutes with the sanitizers.
// Three and the seven bytes of a report share no factor, so every place in a report is hit.
constexpr std::size_t kStride = 3;

struct FaultSweep : ::testing::Test {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    sim::MouseFirmware& fw = mouse.firmware;
    app::TForm1 form{host, mouse};

    void SetUp() override {
        form.setBackupFolder({});  // no copies of the simulated mouse on disk
        form.FormCreate();
        tick();
        ASSERT_TRUE(form.link().deviceOpen());
        // The first write says once that this run keeps no backups; the cases start after it.
        form.link().Btn_ApplyClick();
        ASSERT_EQ(host.messages.size(), 1u);
        host.messages.clear();
    }
    // A poll, and the macros it reads behind the pages.
    void tick() {
        host.advance(3500);
        host.advance(400);
    }
    void replug() {
        fw.clearFaults();
        fw.unplug();
        tick();
        fw.plug();
        tick();
    }
    std::string text(const char* key) { return form.languageText(key); }
    Bytes memory(std::uint16_t address, std::size_t n) {
        const auto s = fw.read(address, n);
        return {s.begin(), s.end()};
    }
    // The bytes a write puts into the mouse equal what the editor holds.
    bool mouseHoldsTheEditor() {
        const image::EditorImage& img = form.editorImage();
        bool same =
            memory(0x6000, 256) == Bytes(img.dataBuf.image.begin(), img.dataBuf.image.end()) &&
            memory(0x6400, 1024) ==
                Bytes(img.dataBuf.macroNames.begin(), img.dataBuf.macroNames.end());
        for (std::size_t i = 0; same && i < 32; ++i) {
            same = memory(static_cast<std::uint16_t>(0x8000 + i * 0x400), 1024) ==
                   Bytes(img.dataBuf.macros[i].begin(), img.dataBuf.macros[i].end());
        }
        const auto b = image::sectionBytes(img.sectionBuf, image::kParameterB);
        const auto u = image::sectionBytes(img.sectionBuf, image::kUserBreath);
        return same && memory(0x7000, 5) == Bytes(b.begin(), b.end()) &&
               memory(0x7005, 4) == Bytes(u.begin(), u.end());
    }
    // Reports an operation sends and fetches, counted by running it once.
    std::size_t reportsOf(const std::function<void()>& operation) {
        fw.clearTraffic();
        operation();
        return fw.traffic().size();
    }
    void rename(int slot, const std::string& name) {
        form.Btn_MacroClick();
        form.at("LB_MacroName").setItemIndex(slot);
        form.SetMacroName(name);
    }
    // After the fault: the mouse is back, Apply writes, and the mouse holds what was meant.
    void recoverAndCheck(const image::DataBuf& meant) {
        replug();
        host.messages.clear();
        form.link().Btn_ApplyClick();
        EXPECT_TRUE(host.messages.empty()) << host.messages.front();
        EXPECT_EQ(form.editorImage().dataBuf.macros, meant.macros) << "the editor's data is intact";
        EXPECT_TRUE(mouseHoldsTheEditor());
    }
};

TEST_F(FaultSweep, UnplugAtReportsOfAFullWrite) {
    differInEverySector(form.editorImage().dataBuf);
    const std::size_t total = reportsOf([this] { form.link().Btn_ApplyClick(); });
    ASSERT_GT(total, 4900u);
    for (std::size_t at = 0; at < total; at += kStride) {
        SCOPED_TRACE("unplugged after report " + std::to_string(at));
        rename(5, "W" + std::to_string(at));
        differInEverySector(form.editorImage().dataBuf);
        host.messages.clear();
        fw.unplugAfter(at);
        form.link().Btn_ApplyClick();
        EXPECT_EQ(host.messages, std::vector<std::string>{text("Str023")});
        const image::DataBuf meant = form.editorImage().dataBuf;
        recoverAndCheck(meant);
        EXPECT_EQ(form.at("LB_MacroName").items()[5], "W" + std::to_string(at));
        if (HasFailure()) return;
    }
}

TEST_F(FaultSweep, UnplugAtReportsOfTheReadAtDetection) {
    fw.unplug();
    tick();
    fw.plug();
    const std::size_t total = reportsOf([this] { tick(); });
    ASSERT_GT(total, 4890u);
    for (std::size_t at = 0; at < total; at += kStride) {
        SCOPED_TRACE("unplugged after report " + std::to_string(at));
        fw.unplug();
        tick();
        fw.plug();
        fw.unplugAfter(at);
        tick();  // detection and a read cut short
        host.messages.clear();
        form.link().Btn_ApplyClick();
        EXPECT_FALSE(host.messages.empty()) << "Apply says why it wrote nothing or not everything";
        fw.clearFaults();
        replug();  // read again, whole this time
        host.messages.clear();
        form.link().Btn_ApplyClick();
        EXPECT_TRUE(host.messages.empty()) << host.messages.front();
        EXPECT_TRUE(mouseHoldsTheEditor());
        if (HasFailure()) return;
    }
}

TEST_F(FaultSweep, UnplugAtReportsOfReset) {
    const std::size_t total = reportsOf([this] { form.link().Btn_ResetClick(); });
    ASSERT_GT(total, 4900u);
    for (std::size_t at = 0; at < total; at += kStride) {
        SCOPED_TRACE("unplugged after report " + std::to_string(at));
        host.messages.clear();
        fw.unplugAfter(at);
        form.link().Btn_ResetClick();
        EXPECT_EQ(host.messages, std::vector<std::string>{text("Str023")});
        recoverAndCheck(form.editorImage().dataBuf);
        if (HasFailure()) return;
    }
}

// A refused block command at each block of a write and of a read.
TEST_F(FaultSweep, ARefusedBlockAtEachBlock) {
    for (int block = 0; block < 1 + 4 + 128 + 2; ++block) {
        SCOPED_TRACE("write block " + std::to_string(block));
        rename(6, "B" + std::to_string(block));
        differInEverySector(form.editorImage().dataBuf);
        host.messages.clear();
        fw.refuseCommandAfter(device::kCmdLongWrite, block);
        form.link().Btn_ApplyClick();
        fw.clearFaults();
        EXPECT_EQ(host.messages, std::vector<std::string>{text("Str023")});
        recoverAndCheck(form.editorImage().dataBuf);
        if (HasFailure()) return;
    }
    for (int block = 1; block < 1 + 1 + 32 + 1 + 2; ++block) {  // after the ModelId read
        SCOPED_TRACE("read block " + std::to_string(block));
        fw.unplug();
        tick();
        fw.plug();
        fw.refuseCommandAfter(device::kCmdLongRead, block);
        tick();
        fw.clearFaults();
        host.messages.clear();
        form.link().Btn_ApplyClick();
        EXPECT_EQ(host.messages, std::vector<std::string>{text("Str026")});
        tick();  // read again while the mouse stays
        host.messages.clear();
        form.link().Btn_ApplyClick();
        EXPECT_TRUE(host.messages.empty());
        EXPECT_TRUE(mouseHoldsTheEditor());
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace scenario
