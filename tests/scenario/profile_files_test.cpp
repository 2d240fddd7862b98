// Save Profile and Load Profile through the window.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "app/main_form.h"
#include "fake_host.h"
#include "image/builtin_image.h"
#include "image/key_code_texts.h"
#include "keys/assignment.h"
#include "macros/macro_model.h"
#include "sim/sim_presets.h"

namespace scenario {
namespace {

std::string temp(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("quorvex-scenario-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

struct Profiles : ::testing::Test {
    testing_support::FakeHost host;
    std::unique_ptr<sim::SimulatedMouse> mouse;
    std::unique_ptr<app::TForm1> form;
    void start(sim::DeviceKind kind) {
        mouse = std::make_unique<sim::SimulatedMouse>(kind);
        form = std::make_unique<app::TForm1>(host, *mouse);
        form->FormCreate();
        host.advance(3500);
        ASSERT_TRUE(form->link().deviceOpen());
    }
    void TearDown() override {
        for (const char* f : {"image.bin", "macro.bin", "x.bin"}) std::filesystem::remove(temp(f));
    }
};

TEST_F(Profiles, NeedAMouseAndAChosenFile) {
    testing_support::FakeHost h;
    sim::SimulatedMouse m(sim::DeviceKind::Macro);
    app::TForm1 f(h, m);
    f.FormCreate();
    f.Btn_SaveClick();
    f.Btn_LoadClick();
    EXPECT_EQ(h.messages.size(), 2u);
    EXPECT_EQ(h.messages[0], f.languageText("Str022"));
    EXPECT_EQ(f.at("Img_Save").picture(), "SetS_02");

    start(sim::DeviceKind::Macro);
    host.saveNames = {std::nullopt};
    form->Btn_SaveClick();  // cancelled
    EXPECT_TRUE(host.messages.empty());
}

// A profile of each kind of mouse loaded into the other. A profile of a mouse without macros
// holds only erased macro bytes: a macro mouse keeps its own macros and names, says so, and
// writes them back unchanged; a profile with macros loads its image into an image-only mouse.
TEST_F(Profiles, AProfileOfEachKindLoadsIntoTheOther) {
    const auto saveWithButton5 = [this](sim::DeviceKind kind, const char* code, const char* file) {
        form.reset();
        start(kind);
        keys::storeKeyCode(form->editorImage(), 1, 5, code);
        host.saveNames = {temp(file)};
        form->Btn_SaveClick();
    };
    const auto mouseHolds = [this](std::uint16_t address, std::size_t length) {
        const auto bytes = mouse->firmware.read(address, length);
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    };
    const auto button5 = static_cast<std::uint16_t>(0x6000 + image::keyCodeOffset(0, 4));
    saveWithButton5(sim::DeviceKind::ImageOnly, "02000400", "image");
    saveWithButton5(sim::DeviceKind::Macro, "02000500", "macro");
    const auto names = mouseHolds(0x6400, 1024), macros = mouseHolds(0x8000, 32 * 1024);
    form->Btn_MacroClick();
    form->at("LB_MacroName").setItemIndex(2);
    form->SetMacroName("Pending");
    host.openNames = {temp("image.bin")};
    form->Btn_LoadClick();
    EXPECT_EQ(host.messages, std::vector<std::string>{form->languageText("Str051")});
    EXPECT_EQ(form->at("LB_MacroName").items()[2], "Pending") << "a rename not applied stays";
    form->link().Btn_ApplyClick();
    EXPECT_EQ(mouseHolds(button5, 4), (std::vector<std::uint8_t>{2, 0, 4, 0})) << "file's image";
    EXPECT_EQ(mouseHolds(0x8000, 32 * 1024), macros) << "every macro as it was";
    EXPECT_TRUE(std::ranges::equal(mouseHolds(0x6400, 64), std::span(names).first(64)));
    EXPECT_EQ(macros::recordName(mouseHolds(0x6440, 32)), "Pending");

    form.reset();
    start(sim::DeviceKind::ImageOnly);
    host.messages.clear();
    host.openNames = {temp("macro.bin")};
    form->Btn_LoadClick();
    EXPECT_TRUE(host.messages.empty());
    form->link().Btn_ApplyClick();
    EXPECT_EQ(mouseHolds(button5, 4), (std::vector<std::uint8_t>{2, 0, 5, 0}));
}

TEST_F(Profiles, SaveAndLoadBringTheEditsBack) {
    start(sim::DeviceKind::Macro);
    form->Btn_MainClick();
    form->editorImage().keyCodeTexts[0][4] = "0300E900";
    form->editorImage().sectionBuf[110 + 16 + 2] = 0xE9;  // as a pick stores it
    form->editorImage().sectionBuf[110 + 16] = 0x03;
    form->editorImage().sectionBuf[110 + 17] = 0x00;
    form->editorImage().sectionBuf[110 + 19] = 0x00;
    host.saveNames = {temp("macro.bin")};
    form->Btn_SaveClick();
    form->link().Btn_ResetClick();
    ASSERT_EQ(form->editorImage().keyCodeTexts[0][4], "01080000");
    host.openNames = {temp("macro.bin")};
    form->Btn_LoadClick();
    EXPECT_EQ(form->editorImage().keyCodeTexts[0][4], "0300E900");
    EXPECT_EQ(form->at("Key5").caption(), "Volume +");
    EXPECT_EQ(form->at("LB_MacroName").items()[0], "Copy")
        << "the macros saved with it come back too";
}

// Every file dialog opens where the last one was left (at first the documents folder, which an
// empty folder asks the host for); a cancelled one moves nothing. Load Profile also offers the
// backups folder.
TEST_F(Profiles, FileDialogsOpenInTheFolderLastUsed) {
    start(sim::DeviceKind::Macro);
    form->setBackupFolder("/backups/here");
    const std::string folder = std::filesystem::path(temp("macro.bin")).parent_path().string();
    host.saveNames = {temp("macro.bin")};
    form->Btn_SaveClick();
    host.saveNames = {std::nullopt};
    form->Btn_MacroClick();
    form->Btn_ExportClick();
    host.openNames = {temp("macro.bin")};
    form->Btn_LoadClick();
    ASSERT_EQ(host.fileDialogs.size(), 3u);
    EXPECT_EQ(host.fileDialogs[0].folder, "") << "the documents folder at first";
    EXPECT_TRUE(host.fileDialogs[0].places.empty());
    EXPECT_EQ(host.fileDialogs[1].folder, folder) << "the macro dialog follows the profile's";
    EXPECT_EQ(host.fileDialogs[2].folder, folder) << "a cancelled dialog changes nothing";
    EXPECT_EQ(host.fileDialogs[2].places, std::vector<std::string>{"/backups/here"});
}

// A round trip keeps the sections a macro mouse also holds on its own: DPI level, rate,
// current profile, light mode and colour come back from the file.
TEST_F(Profiles, ARoundTripKeepsTheDeviceSections) {
    start(sim::DeviceKind::Macro);
    form->CurrentDPI_OnClick(3);
    form->ReportRate_OnClick(3);
    form->Btn_SwitchClick();
    host.saveNames = {temp("macro.bin")};
    form->Btn_SaveClick();
    auto& sections = form->editorImage().sectionBuf;
    const std::vector<std::uint8_t> saved(sections.begin() + 27, sections.begin() + 36);
    ASSERT_EQ(saved[2], 1) << "profile 2 is current in the file";

    // What a re-read mouse would show: other values, valid check bytes.
    const std::vector<std::uint8_t> mouseValues{0x01, 0x02, 0x00, 0x04, 0x5D,
                                                0x00, 0x00, 0x00, 0x5A};
    std::copy(mouseValues.begin(), mouseValues.end(), sections.begin() + 27);
    host.openNames = {temp("macro.bin")};
    form->Btn_LoadClick();
    EXPECT_EQ(std::vector<std::uint8_t>(sections.begin() + 27, sections.begin() + 36), saved);
    EXPECT_EQ(form->pageSelector(), 2) << "the file's current profile is shown";

    // A damaged copy in the file is repaired, as every other section is.
    {
        std::fstream f(temp("macro.bin"), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(27 + 4);
        f.put(static_cast<char>(saved[4] ^ 0xFF));
    }
    host.openNames = {temp("macro.bin")};
    form->Btn_LoadClick();
    EXPECT_EQ(std::vector<std::uint8_t>(sections.begin() + 27, sections.begin() + 32),
              (std::vector<std::uint8_t>{0x01, 0x02, 0x00, 0x04, 0x5D}));
}

// Files that are not a profile of this mouse are refused with their reason; nothing changes.
TEST_F(Profiles, FilesThatAreNotAProfileOfThisMouseChangeNothing) {
    start(sim::DeviceKind::Macro);
    host.saveNames = {temp("x.bin")};
    form->Btn_SaveClick();
    std::vector<char> good(image::kFullImageSize);
    std::ifstream(temp("x.bin"), std::ios::binary)
        .read(good.data(), static_cast<long>(good.size()));
    struct Case {
        const char* what;
        std::size_t size;
        std::size_t flip;  // a byte to change, or npos
        const char* reason;
    };
    constexpr std::size_t none = std::string::npos;
    const std::vector<Case> cases{
        {"empty", 0, none, "Str031"},
        {"1 byte", 1, none, "Str032"},
        {"1 short", 34047, none, "Str032"},
        {"1 long", 34049, none, "Str032"},
        {"truncated to an image", 256, none, "Str032"},
        {"another product id", 34048, 5, "Str033"},
        {"another ModelId", 34048, 87, "Str033"},
        {"another layout", 34048, 1, "Str033"},
    };
    form->editorImage().keyCodeTexts[0][0] = "01020000";
    const image::EditorImage before = form->editorImage();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<char> bytes = good;
        bytes.resize(c.size, 0);
        if (c.flip != none) bytes[c.flip] = static_cast<char>(bytes[c.flip] ^ 0x01);
        std::ofstream(temp("x.bin"), std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<long>(bytes.size()));
        host.messages.clear();
        host.openNames = {temp("x.bin")};
        form->Btn_LoadClick();
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].rfind(form->languageText("Str029"), 0), 0u) << host.messages[0];
        const std::string reason = std::string(c.reason) == "Str032"
                                       ? "has " + std::to_string(c.size) + " bytes"
                                       : form->languageText(c.reason);
        EXPECT_NE(host.messages[0].find(reason), std::string::npos) << host.messages[0];
        EXPECT_EQ(form->editorImage().dataBuf.image, before.dataBuf.image);
        EXPECT_EQ(form->editorImage().dataBuf.macros, before.dataBuf.macros);
        EXPECT_EQ(form->editorImage().keyCodeTexts, before.keyCodeTexts);
    }
}

TEST_F(Profiles, FileErrorsAreShown) {
    start(sim::DeviceKind::Macro);
    host.saveNames = {"/nonexistent-dir/profile"};
    form->Btn_SaveClick();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind("Cannot create file \"/nonexistent-dir/profile.bin\". ", 0),
              0u)
        << host.messages[0];
    host.openNames = {temp("missing.bin")};
    form->Btn_LoadClick();
    EXPECT_EQ(host.messages.back().rfind("Cannot open file", 0), 0u);
}

}  // namespace
}  // namespace scenario
