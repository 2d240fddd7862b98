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

TEST_F(MacroFiles, AllMacrosRoundTripAndPendingRenamesAreLost) {
    host.saveNames = {temp("all.bin")};
    form.Btn_ExportClick();
    ASSERT_EQ(std::filesystem::file_size(temp("all.bin")), 33792u) << "one suffix only";
    const auto names = data().macroNames;
    const auto blocks = data().macros;
    form.at("LB_MacroName").setItem(4, "Pending");
    data().macros[1].fill(0x00);
    host.openNames = {temp("all.bin")};
    form.Btn_ImportClick();
    EXPECT_EQ(data().macroNames, names);
    EXPECT_EQ(data().macros, blocks);
    EXPECT_EQ(form.at("LB_MacroName").items()[4], "") << "the rename was not yet in the name area";
}

TEST_F(MacroFiles, ShortFilesChangeOnlyWhatTheyHold) {
    {
        std::ofstream f(temp("ten.bin"), std::ios::binary);
        for (int i = 0; i < 10; ++i) f.put(static_cast<char>(0x00));
    }
    select(0);
    const auto before = data().macroNames;
    host.openNames = {temp("ten.bin")};
    form.Btn_ImportOneClick();
    EXPECT_TRUE(std::equal(before.begin() + 10, before.end(), data().macroNames.begin() + 10));
    EXPECT_EQ(data().macroNames[3], 0) << "the name length came from the file";
    EXPECT_EQ(data().macros[0][0], 0x81) << "the block keeps its events";
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

}  // namespace
}  // namespace scenario
