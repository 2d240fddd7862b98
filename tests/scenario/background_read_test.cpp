// The macros read behind the shown pages, and what happens to them meanwhile: nothing is
// written before the read is complete, and the page edits made meanwhile stay.
#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <functional>

#include "device/hid_transport.h"
#include "every_sector.h"
#include "window_fixture.h"

namespace scenario {
namespace {

struct BackgroundRead : DetectedWindow {
    sim::MouseFirmware& fw = mouse.firmware;

    // The mouse plugged in again: its pages are read and its macros are just starting.
    void replug() {
        fw.unplug();
        host.advance(3500);
        fw.plug();
        fw.clearTraffic();
        host.advance(3500);
        ASSERT_TRUE(form.link().readingInBackground());
    }
    // A page edit: another current DPI level.
    int editPage() {
        const int level = form.currentDpiLevel() == 3 ? 5 : 3;
        form.CurrentDPI_OnClick(level);
        return level;
    }
    // Index in the traffic of the first and last report sent with `command`; -1 if none.
    std::pair<long, long> commandSpan(std::uint8_t command) const {
        long first = -1, last = -1;
        const auto& log = fw.traffic();
        for (std::size_t i = 0; i < log.size(); ++i) {
            const auto& e = log[i];
            if (e.direction != sim::TrafficEntry::SetFeature || e.report[0] != 0x40 ||
                e.report[1] != command)
                continue;
            if (first < 0) first = static_cast<long>(i);
            last = static_cast<long>(i);
        }
        return {first, last};
    }
    // Long reads sent for blocks at `from` or above (a high address byte), before `end`.
    int blockReads(std::uint8_t from, long end = -1) const {
        const auto& log = fw.traffic();
        const auto last = end < 0 ? log.end() : log.begin() + end;
        return static_cast<int>(std::count_if(log.begin(), last, [from](const auto& e) {
            return e.direction == sim::TrafficEntry::SetFeature && e.report[0] == 0x40 &&
                   e.report[1] == device::kCmdLongRead && e.report[2] >= from;
        }));
    }
    int macroReads(long end = -1) const { return blockReads(0x80, end); }
    int imageReads() const { return blockReads(0x60) - blockReads(0x61); }
};

TEST_F(BackgroundRead, NothingIsWrittenBeforeTheReadIsCompleteAndPageEditsStay) {
    struct Case {
        const char* what;
        // What happens while the macros are read; ends with the read over or waited for.
        std::function<void()> meanwhile;
        int macroBlocksRead;  // after the whole case; 32 a full read
        bool pageEditStays = true;
    };
    // A profile with a first macro name and macros of its own.
    const std::string profile = (std::filesystem::temp_directory_path() /
                                 ("quorvex-background-" + std::to_string(::getpid()) + ".bin"))
                                    .string();
    form.Btn_MacroClick();
    c("LB_MacroName").setItemIndex(0);
    form.SetMacroName("FromFile");
    auto& macros = form.editorImage().dataBuf.macros;
    const auto mouseMacros = macros;
    differInEverySector(form.editorImage().dataBuf);
    const auto fileMacros = macros;
    host.saveNames.assign({profile});
    form.Btn_SaveClick();
    form.SetMacroName("");
    macros = mouseMacros;
    const std::vector<Case> cases{
        {"Apply at its first report", [this] { form.link().Btn_ApplyClick(); }, 32},
        {"the window closed",
         [this] {
             EXPECT_FALSE(form.FormCloseQuery()) << "the close waits for the read";
             EXPECT_EQ(host.closeRequests, 1) << "and is carried out after it";
         },
         32},
        {"a block that fails",
         [this] {
             // Macros 0-4 come, then every block is refused until the next tick.
             fw.refuseCommandAfter(device::kCmdLongRead, 5);
             host.advance(400);
             EXPECT_FALSE(form.link().readingInBackground());
             host.messages.clear();
             form.link().Btn_ApplyClick();
             EXPECT_EQ(host.messages, std::vector<std::string>{form.languageText("Str026")});
             fw.clearFaults();
             const int imageReadsBefore = imageReads();
             host.advance(3500);  // only the 27 failed blocks are read again
             host.advance(400);
             EXPECT_EQ(imageReads(), imageReadsBefore);
         },
         32 + 27},
        {"unplugged and plugged back",
         [this] {
             host.advance(100);
             fw.unplug();
             host.advance(3500);
             EXPECT_FALSE(form.link().deviceOpen());
             fw.plug();
             host.advance(3500);
             host.advance(400);
         },
         -1},
        {"a profile loaded",
         [&] {
             // Back with another first macro: the read would take that one over the editor's.
             fw.unplug();
             host.advance(3500);
             fw.program(0x8000, std::vector<std::uint8_t>(16, 0x42));
             fw.plug();
             host.advance(3500);
             ASSERT_TRUE(form.link().readingInBackground());
             host.openNames.assign({profile});
             form.Btn_LoadClick();
             host.advance(400);
             EXPECT_EQ(c("LB_MacroName").items().at(0), "FromFile");
             EXPECT_EQ(macros, fileMacros) << "the mouse's macros do not replace the file's";
         },
         32, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        replug();
        host.closeRequests = 0;
        const int level = editPage();
        c.meanwhile();
        ASSERT_FALSE(form.link().readingInBackground());
        if (c.macroBlocksRead >= 0) EXPECT_EQ(macroReads(), c.macroBlocksRead);
        if (c.pageEditStays) EXPECT_EQ(form.currentDpiLevel(), level) << "the page edit stays";
        host.messages.clear();
        form.link().Btn_ApplyClick();
        EXPECT_TRUE(host.messages.empty()) << host.messages.front();
        // Every macro block was read before the first erase.
        const long erase = commandSpan(device::kCmdSectorErase).first;
        ASSERT_GE(erase, 0);
        EXPECT_GE(macroReads(erase), 32);
        EXPECT_TRUE(std::ranges::equal(fw.read(0x6000, 256), form.editorImage().dataBuf.image))
            << "the mouse holds the edited page";
    }
    EXPECT_TRUE(std::ranges::equal(fw.read(0x6400, 1024), form.editorImage().dataBuf.macroNames))
        << "the file's names went in";
    std::filesystem::remove(profile);
}

}  // namespace
}  // namespace scenario
