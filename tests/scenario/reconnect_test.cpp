// The mouse comes back: after a failed write only the mouse that was being written is taken
// back unread, a mouse plugged back between two polls is found again, and edits outlive a brief
// unplug of the same mouse.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>

#include "app/main_form.h"
#include "every_sector.h"
#include "fake_host.h"
#include "image/sections.h"
#include "sim/sim_presets.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::span<const std::uint8_t> s) {
    return {s.begin(), s.end()};
}

struct Reconnect : ::testing::Test {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    sim::MouseFirmware& fw = mouse.firmware;
    // A second mouse of the same model with the factory contents: another image, no macros.
    sim::MouseFirmware other{sim::presetConfig(sim::DeviceKind::Macro)};
    app::TForm1 form{host, mouse};
    fs::path backups = fs::temp_directory_path() /
                       ("quorvex-reconnect-" + std::to_string(::getpid()) + "-" +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name());

    void SetUp() override {
        sim::programFactoryContents(other);
        other.unplug();
        mouse.addMouse(other, "sim/hidraw2");
        form.setBackupFolder(backups.string());
        form.FormCreate();
    }
    void TearDown() override { fs::remove_all(backups); }
    void tick() { host.advance(3500); }
    std::string text(const char* key) { return form.languageText(key); }
    std::vector<std::string> told(std::initializer_list<const char*> keys) {
        std::vector<std::string> texts;
        for (const char* k : keys) texts.push_back(text(k));
        return texts;
    }
    // The first mouse, freshly read, and nothing else plugged in.
    void start() {
        other.unplug();
        fw.unplug();
        tick();
        fw.plug();
        tick();
        ASSERT_TRUE(form.link().deviceOpen());
        host.messages.clear();
    }
    // Edits of the image (the current DPI level), of a macro name and of every sector; returns
    // the level now current.
    int edit(const std::string& name) {
        const int level = form.currentDpiLevel() == 3 ? 5 : 3;
        form.CurrentDPI_OnClick(level);
        form.Btn_MacroClick();
        form.at("LB_MacroName").setItemIndex(3);
        form.SetMacroName(name);
        differInEverySector(form.editorImage().dataBuf);
        return level;
    }
    std::string name3() { return form.at("LB_MacroName").items().at(3); }
    // Everything a write puts into `m` equals what the editor meant to write.
    void expectHoldsTheEditor(const sim::MouseFirmware& m) {
        const image::EditorImage& img = form.editorImage();
        EXPECT_EQ(bytesOf(m.read(0x6000, 256)), bytesOf(img.dataBuf.image));
        EXPECT_EQ(bytesOf(m.read(0x6400, 1024)), bytesOf(img.dataBuf.macroNames));
        for (std::size_t i = 0; i < 32; ++i)
            EXPECT_EQ(bytesOf(m.read(static_cast<std::uint16_t>(0x8000 + i * 0x400), 1024)),
                      bytesOf(img.dataBuf.macros[i]));
        EXPECT_EQ(bytesOf(m.read(0x7000, 5)),
                  bytesOf(image::sectionBytes(img.sectionBuf, image::kParameterB)));
    }
    // Keeps what a mouse holds at the end of a case with the test's result.
    void recordBytes(const std::string& what, const sim::MouseFirmware& m) {
        std::string hex;
        for (const auto& [address, n] : {std::pair{0x6000, 256}, {0x6460, 32}, {0x7000, 9}}) {
            char line[16];
            std::snprintf(line, sizeof line, "%s%04X:", hex.empty() ? "" : " ", address);
            hex += line;
            for (std::uint8_t b : m.read(static_cast<std::uint16_t>(address), n)) {
                std::snprintf(line, sizeof line, "%02X", b);
                hex += line;
            }
        }
        RecordProperty(what, hex);
    }
};

// After a failed write, the mouse that comes back is taken back unread only when its image is
// what the cut write left; another mouse of the model is read, and keeps its own macros.
TEST_F(Reconnect, OnlyTheMouseWhoseWriteFailedIsTakenBack) {
    struct Case {
        const char* what;
        std::size_t cutAfter;  // reports of the Apply: ten erases, the image's command, its data
        bool otherMouse = false;
    };
    const std::vector<Case> cases{
        {"nothing reached the mouse", 0},
        {"image erased, none written", 11},
        {"cut inside the fifth chunk", 11 + 5},
        {"cut after the ModelId", 11 + 14},
        {"image written, cut in the names", 11 + 38},
        {"cut in the macros", 2000},
        {"another mouse of the model", 2000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string kept = "Kept " + std::to_string(&c - cases.data());
        start();
        edit(kept);
        fw.unplugAfter(c.cutAfter);
        form.link().Btn_ApplyClick();
        ASSERT_EQ(host.messages, told({"Str023"}));
        const image::EditorImage meant = form.editorImage();
        tick();  // gone
        EXPECT_TRUE(form.at("lbl_NoDev").visible());
        host.messages.clear();
        sim::MouseFirmware& back = c.otherMouse ? other : fw;
        const Bytes otherMacros = bytesOf(other.read(0x8000, 0x8000));
        back.plug();
        tick();
        if (c.otherMouse) {
            EXPECT_EQ(host.messages, told({"Str046"}));
            EXPECT_EQ(bytesOf(form.editorImage().dataBuf.image), bytesOf(other.read(0x6000, 256)));
            EXPECT_EQ(name3(), "") << "the other mouse's names are shown";
        } else {
            EXPECT_EQ(host.messages, told({"Str027"}));
            EXPECT_EQ(form.editorImage().dataBuf.image, meant.dataBuf.image);
            EXPECT_EQ(name3(), kept);
        }
        host.messages.clear();
        form.link().Btn_ApplyClick();
        EXPECT_TRUE(host.messages.empty());
        expectHoldsTheEditor(back);
        if (c.otherMouse) {
            EXPECT_EQ(bytesOf(other.read(0x8000, 0x8000)), otherMacros) << "its macros stay";
        } else {
            EXPECT_EQ(form.editorImage().dataBuf.image, meant.dataBuf.image);
            EXPECT_EQ(form.editorImage().dataBuf.macros, meant.dataBuf.macros);
        }
        recordBytes(c.what, back);
    }
}

// Unplugged and plugged back within one interval: the count of interfaces never changes, yet
// the link drops the dead handle and the Apply after the next tick writes.
TEST_F(Reconnect, AMousePluggedBackBetweenTwoPollsIsFoundAgain) {
    struct Case {
        const char* what;
        bool applyFirst;  // an Apply on the dead handle before the tick
        std::vector<const char*> toldBefore, toldAtTick;
    };
    const std::vector<Case> cases{
        {"the tick notices", false, {}, {"Str044"}},
        {"an Apply finds it gone first", true, {"Str023", "Str022"}, {"Str027"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string kept = "Replug " + std::to_string(&c - cases.data());
        start();
        const int level = edit(kept);
        const int count = form.link().lastInterfaceCount();
        fw.unplug();
        fw.plug();
        if (c.applyFirst) {
            form.link().Btn_ApplyClick();
            form.link().Btn_ApplyClick();  // the handle was given up: no mouse until the tick
        }
        std::vector<std::string> expected;
        for (const char* k : c.toldBefore) expected.push_back(text(k));
        EXPECT_EQ(host.messages, expected);
        host.messages.clear();
        tick();
        expected.clear();
        for (const char* k : c.toldAtTick) expected.push_back(text(k));
        EXPECT_EQ(host.messages, expected);
        EXPECT_EQ(form.link().lastInterfaceCount(), count);
        EXPECT_EQ(name3(), kept);
        host.messages.clear();
        form.link().Btn_ApplyClick();
        EXPECT_TRUE(host.messages.empty());
        expectHoldsTheEditor(fw);
        EXPECT_EQ(form.currentDpiLevel(), level);
        recordBytes(c.what, fw);
    }
}

// The same mouse back after an unplug: the edits stay when it holds the same bytes, and give
// way to what it holds when it was changed meanwhile; only edits are worth a word.
TEST_F(Reconnect, EditsSurviveABriefUnplugOfTheSameMouse) {
    struct Case {
        const char* what;
        bool edited, changedMeanwhile;
        const char* told;  // nothing when empty
    };
    const std::vector<Case> cases{
        {"same bytes, edited", true, false, "Str044"},
        {"same bytes, not edited", false, false, ""},
        {"changed meanwhile, edited", true, true, "Str045"},
        {"changed meanwhile, not edited", false, true, ""},
    };
    // A name given to slot 7 elsewhere while the mouse was away.
    const Bytes elsewhere{0x00, 0x00, 0x00, 0x04, 0x00, 'X', 0x00, 'Y'};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        start();
        const std::string before = name3();
        const int levelBefore = form.currentDpiLevel();
        const int level = c.edited ? edit("Unapplied") : levelBefore;
        fw.unplug();
        tick();
        EXPECT_TRUE(form.at("lbl_NoDev").visible());
        if (c.changedMeanwhile) fw.program(0x6400 + 7 * 32, elsewhere);
        fw.plug();
        tick();
        EXPECT_EQ(host.messages, *c.told ? told({c.told}) : std::vector<std::string>{});
        EXPECT_FALSE(form.at("lbl_NoDev").visible());
        const bool keeps = c.edited && !c.changedMeanwhile;
        EXPECT_EQ(name3(), keeps ? "Unapplied" : before);
        EXPECT_EQ(form.currentDpiLevel(), keeps ? level : levelBefore);
        EXPECT_EQ(form.at("LB_MacroName").items().at(7), c.changedMeanwhile ? "XY" : "");
        host.messages.clear();
        form.link().Btn_ApplyClick();
        EXPECT_TRUE(host.messages.empty());
        expectHoldsTheEditor(fw);
        recordBytes(c.what, fw);
        fw.program(0x6400 + 7 * 32, Bytes(32, 0xFF));
    }
}

}  // namespace
}  // namespace scenario
