// The mouse comes back: after a failed write only the mouse that was being written is taken
// back unread; a mouse plugged back between two polls is found again, and edits outlive the
// unplug when it holds what it held.
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "every_sector.h"
#include "fake_host.h"
#include "sim/sim_presets.h"

namespace scenario {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Reconnect : ::testing::Test {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    sim::MouseFirmware& fw = mouse.firmware;
    // Another mouse of the model: the factory image, no macros; plugged in only where wanted.
    sim::MouseFirmware other{sim::presetConfig(sim::DeviceKind::Macro)};
    app::TForm1 form{host, mouse};

    void SetUp() override {
        sim::programFactoryContents(other);
        other.unplug();
        mouse.addMouse(other, "sim/hidraw2");
        form.setBackupFolder({});  // no copies of the simulated mouse on disk
        form.FormCreate();
        tick();
        form.link().Btn_ApplyClick();  // says once that this run keeps no backups
    }
    // A poll, and the macros it reads behind the pages.
    void tick() {
        host.advance(3500);
        host.advance(400);
    }
    std::vector<std::string> texts(const std::vector<const char*>& keys) {
        std::vector<std::string> out;
        for (const char* k : keys) out.push_back(form.languageText(k));
        return out;
    }
    // The first mouse freshly read, then edits of the image (the current DPI level), of macro
    // name 3 and of every sector.
    void startAndEdit(const std::string& name) {
        fw.unplug();
        tick();
        fw.plug();
        tick();
        host.messages.clear();
        form.CurrentDPI_OnClick(form.currentDpiLevel() == 3 ? 5 : 3);
        form.Btn_MacroClick();
        form.at("LB_MacroName").setItemIndex(3);
        form.SetMacroName(name);
        differInEverySector(form.editorImage().dataBuf);
    }
    std::string name(int slot) { return form.at("LB_MacroName").items().at(slot); }
    // Apply writes without a word, and `m` then holds what the editor holds.
    void applyWritesTheEditorInto(const sim::MouseFirmware& m) {
        host.messages.clear();
        form.link().Btn_ApplyClick();
        EXPECT_TRUE(host.messages.empty());
        const image::DataBuf& buf = form.editorImage().dataBuf;
        EXPECT_TRUE(std::ranges::equal(buf.image, m.read(0x6000, 256)));
        EXPECT_TRUE(std::ranges::equal(buf.macroNames, m.read(0x6400, 1024)));
        for (std::size_t i = 0; i < 32; ++i)
            EXPECT_TRUE(std::ranges::equal(
                buf.macros[i], m.read(static_cast<std::uint16_t>(0x8000 + i * 0x400), 1024)));
    }
};

// After a failed write the returning mouse is taken back unread only when its image is what
// the cut write can have left; another mouse of the model is read, and keeps its own macros.
TEST_F(Reconnect, OnlyTheMouseWhoseWriteFailedIsTakenBack) {
    struct Case {
        const char* what;
        std::size_t cutAfter;  // reports of the Apply: ten erases, the image's command, its data
        bool otherMouse = false;
    };
    const std::vector<Case> cases{
        {"nothing reached the mouse", 0},
        {"image erased", 11},
        {"cut inside the fifth chunk", 11 + 5},
        {"cut after the ModelId", 11 + 14},
        {"cut in the names", 11 + 38},
        {"cut in the macros", 2000},
        {"another mouse of the model", 2000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string kept = "Kept " + std::to_string(&c - cases.data());
        startAndEdit(kept);
        fw.unplugAfter(c.cutAfter);
        form.link().Btn_ApplyClick();
        ASSERT_EQ(host.messages, texts({"Str023"}));
        const image::DataBuf meant = form.editorImage().dataBuf;
        tick();  // gone
        host.messages.clear();
        sim::MouseFirmware& back = c.otherMouse ? other : fw;
        const auto macros = other.read(0x8000, 0x8000);
        const Bytes otherMacros(macros.begin(), macros.end());
        back.plug();
        tick();
        EXPECT_EQ(host.messages, texts({c.otherMouse ? "Str046" : "Str027"}));
        EXPECT_EQ(name(3), c.otherMouse ? "" : kept);
        EXPECT_EQ(form.editorImage().dataBuf.image == meant.image, !c.otherMouse);
        applyWritesTheEditorInto(back);
        if (c.otherMouse) {
            EXPECT_TRUE(std::ranges::equal(other.read(0x8000, 0x8000), otherMacros));
        }
        back.unplug();
    }
}

// The mouse goes and comes back, within one poll interval (the count of interfaces never
// changes) or over a tick; the editor keeps its edits when the mouse holds what it held, says
// so where there were edits, and the Apply after the tick writes.
TEST_F(Reconnect, AMouseBackFromAnUnplugIsFoundAgainAndEditsSurvive) {
    struct Case {
        const char* what;
        bool overATick, applyFirst, edited;
        enum { Nothing, Name, Macro } changedMeanwhile;
        std::vector<const char*> toldBefore, toldAtTick;
    };
    const std::vector<Case> cases{
        {"back before the tick", false, false, true, Case::Nothing, {}, {"Str044"}},
        {"back before an Apply",
         false,
         true,
         true,
         Case::Nothing,
         {"Str023", "Str022"},
         {"Str027"}},
        {"same bytes, edited", true, false, true, Case::Nothing, {}, {"Str044"}},
        {"same bytes, not edited", true, false, false, Case::Nothing, {}, {}},
        {"changed meanwhile, edited", true, false, true, Case::Name, {}, {"Str045"}},
        {"changed meanwhile, not edited", true, false, false, Case::Name, {}, {}},
        // The pages stay with their edits; the macro comes from the mouse.
        {"a macro changed meanwhile, edited", true, false, true, Case::Macro, {}, {"Str047"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startAndEdit("Before");
        form.link().Btn_ApplyClick();
        const int level = form.currentDpiLevel();
        if (c.edited) startAndEdit("Unapplied");
        const int count = form.link().lastInterfaceCount();
        fw.unplug();
        if (c.overATick) tick();
        // Slot 7 named, or macro 9 recorded, elsewhere while the mouse was away.
        if (c.changedMeanwhile == Case::Name) fw.program(0x64E0, Bytes{0, 0, 0, 4, 0, 'X', 0, 'Y'});
        const Bytes macro9(16, 0x42);
        if (c.changedMeanwhile == Case::Macro) fw.program(0xA400, macro9);
        fw.plug();
        if (c.applyFirst) {
            form.link().Btn_ApplyClick();
            form.link().Btn_ApplyClick();  // the handle was given up: no mouse until the tick
        }
        EXPECT_EQ(host.messages, texts(c.toldBefore));
        host.messages.clear();
        tick();
        EXPECT_EQ(host.messages, texts(c.toldAtTick));
        EXPECT_EQ(form.link().lastInterfaceCount(), count);
        const bool keeps = c.edited && c.changedMeanwhile != Case::Name;
        EXPECT_EQ(name(3), keeps ? "Unapplied" : "Before");
        EXPECT_EQ(form.currentDpiLevel() == level, !keeps);
        EXPECT_EQ(name(7), c.changedMeanwhile == Case::Name ? "XY" : "");
        const auto& held9 = form.editorImage().dataBuf.macros[9];
        EXPECT_EQ(Bytes(held9.begin(), held9.begin() + 16) == macro9,
                  c.changedMeanwhile == Case::Macro);
        applyWritesTheEditorInto(fw);
        fw.program(0x64E0, Bytes(32, 0xFF));
    }
}

}  // namespace
}  // namespace scenario
