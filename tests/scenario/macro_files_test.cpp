// Export and import of macros.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "window_fixture.h"

namespace scenario {
namespace {

std::string temp(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("quorvex-macros-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

struct MacroFiles : DetectedWindow {
    void TearDown() override {
        for (const char* f : {"one.bin", "all.bin", "ten.bin"}) std::filesystem::remove(temp(f));
    }
    void select(int slot) { showSlot(slot); }
    image::DataBuf& data() { return form.editorImage().dataBuf; }
};

TEST_F(MacroFiles, OneMacroMovesToAnotherSlot) {
    select(0);
    host.saveNames = {temp("one")};
    form.Btn_ExportOneClick();
    ASSERT_EQ(std::filesystem::file_size(temp("one.bin")), 1056u);
    const auto slot0 = data().macros[0];
    select(7);
    host.openNames = {temp("one.bin")};
    form.Btn_ImportOneClick();
    EXPECT_EQ(data().macros[7], slot0);
    EXPECT_EQ(form.at("LB_MacroName").items()[7], "Copy");
    EXPECT_EQ(form.at("LB_macro").items().size(), 7u) << "slot 7 shows its new events";
    EXPECT_EQ(data().macros[0], slot0) << "slot 0 is unchanged";
}

TEST_F(MacroFiles, AllMacrosRoundTrip) {
    host.saveNames = {temp("all.bin")};
    form.Btn_ExportClick();
    ASSERT_EQ(std::filesystem::file_size(temp("all.bin")), 33792u) << "one suffix only";
    const auto names = data().macroNames;
    const auto blocks = data().macros;
    data().macros[1].fill(0x00);
    host.openNames = {temp("all.bin")};
    form.Btn_ImportClick();
    EXPECT_EQ(data().macroNames, names);
    EXPECT_EQ(data().macros, blocks);
}

// Exports carry the names the list shows; an import keeps the renames of the slots it leaves.
TEST_F(MacroFiles, RenamesNotYetAppliedTravelAndStay) {
    select(0);
    form.SetMacroName("Renamed");
    host.saveNames = {temp("one"), temp("all")};
    form.Btn_ExportOneClick();
    form.Btn_ExportClick();
    select(5);
    form.SetMacroName("Pending");
    select(7);
    host.openNames = {temp("one.bin")};
    form.Btn_ImportOneClick();
    EXPECT_EQ(form.at("LB_MacroName").items()[7], "Renamed");
    EXPECT_EQ(form.at("LB_MacroName").items()[5], "Pending") << "the other slot keeps its rename";
    host.openNames = {temp("all.bin")};
    form.Btn_ImportClick();
    EXPECT_EQ(form.at("LB_MacroName").items()[0], "Renamed");
}

TEST_F(MacroFiles, FilesOfAnyOtherSizeAreRefusedAndChangeNothing) {
    select(0);
    const auto before = data();
    const auto names = form.at("LB_MacroName").items();
    for (const std::size_t size : {0, 1, 1055, 1057, 33791, 33793}) {
        SCOPED_TRACE(size);
        {
            std::ofstream f(temp("ten.bin"), std::ios::binary | std::ios::trunc);
            for (std::size_t i = 0; i < size; ++i) f.put(static_cast<char>(0x00));
        }
        for (const auto import :
             {&app::TForm1::Btn_ImportOneClick, &app::TForm1::Btn_ImportClick}) {
            host.messages.clear();
            host.openNames = {temp("ten.bin")};
            (form.*import)();
            ASSERT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(host.messages[0].rfind(form.languageText("Str029"), 0), 0u);
            EXPECT_NE(host.messages[0].find(size == 0 ? "empty" : std::to_string(size)),
                      std::string::npos)
                << host.messages[0];
        }
    }
    host.messages.clear();
    host.openNames = {std::filesystem::temp_directory_path().string()};
    form.Btn_ImportClick();
    EXPECT_NE(host.messages.at(0).find(form.languageText("Str030")), std::string::npos);
    EXPECT_EQ(data().macroNames, before.macroNames);
    EXPECT_EQ(data().macros, before.macros);
    EXPECT_EQ(form.at("LB_MacroName").items(), names);
}

TEST_F(MacroFiles, NothingWithoutASlotAndErrorsAreShown) {
    form.at("LB_MacroName").setItemIndex(-1);
    form.Btn_ExportOneClick();
    form.Btn_ImportOneClick();
    EXPECT_TRUE(host.messages.empty());
    host.saveNames = {"/nonexistent-dir/all"};
    form.Btn_ExportClick();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind(form.languageText("Str024"), 0), 0u);
    host.openNames = {std::nullopt};
    form.Btn_ImportClick();
    EXPECT_EQ(host.messages.size(), 1u) << "a cancelled dialog says nothing";
}

// A dialog takes the pointer away: the button that opened it shows its normal picture after.
TEST_F(MacroFiles, AButtonLooksNormalAgainAfterItsDialog) {
    select(0);
    for (const auto& [button, normal] :
         std::vector<std::pair<std::string, std::string>>{{"Btn_Export", "MacroS_01"},
                                                          {"Btn_ImportOne", "MacroS_01"},
                                                          {"Btn_Clear", "MacroS_01"},
                                                          {"Btn_Load", "SetS_01"}}) {
        SCOPED_TRACE(button);
        const ui::Rect r = form.at(button).formBounds();
        form.pointerMove(r.x + r.w / 2, r.y + r.h / 2);
        form.pointerDown(r.x + r.w / 2, r.y + r.h / 2, ui::MouseButton::Left);
        form.pointerUp(r.x + r.w / 2, r.y + r.h / 2, ui::MouseButton::Left);
        EXPECT_EQ(form.at("Img_" + button.substr(4)).picture(), normal);
    }
    EXPECT_EQ(host.questions.size(), 1u) << "Clear asked";
}

}  // namespace
}  // namespace scenario
