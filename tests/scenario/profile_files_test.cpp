// Save Profile and Load Profile through the window.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "app/main_form.h"
#include "fake_host.h"
#include "image/builtin_image.h"
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

TEST_F(Profiles, ImageOnlyFileReplacesMacrosWithFF) {
    start(sim::DeviceKind::ImageOnly);
    host.saveNames = {temp("image")};
    form->Btn_SaveClick();
    ASSERT_TRUE(std::filesystem::exists(temp("image.bin"))) << "the suffix is added";
    EXPECT_EQ(std::filesystem::file_size(temp("image.bin")), image::kFullImageSize);
    EXPECT_EQ(form->editorImage().dataBuf.macros[3][10], 0xFF);

    // Into a macro mouse: its macros and names become the file's 0xFF bytes, while its own
    // ParameterB stays as read.
    form.reset();
    start(sim::DeviceKind::Macro);
    const auto parameterB = std::vector<std::uint8_t>(form->editorImage().sectionBuf.begin() + 27,
                                                      form->editorImage().sectionBuf.begin() + 32);
    host.openNames = {temp("image.bin")};
    mouse->firmware.clearTraffic();
    form->Btn_LoadClick();
    EXPECT_EQ(form->editorImage().dataBuf.macros[0][0], 0xFF);
    EXPECT_EQ(form->at("LB_MacroName").items()[0], "") << "erased records have no names";
    EXPECT_EQ(std::vector<std::uint8_t>(form->editorImage().sectionBuf.begin() + 27,
                                        form->editorImage().sectionBuf.begin() + 32),
              parameterB);
    EXPECT_EQ(mouse->firmware.counters().dataReportsIn, 0) << "loading sends nothing";
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
