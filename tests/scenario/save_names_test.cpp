// The name a save dialog's choice becomes, and the question before that name replaces a file.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <functional>

#include "window_fixture.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

struct SaveNames : DetectedWindow {
    fs::path dir = fs::temp_directory_path() / ("quorvex-names-" + std::to_string(::getpid()));
    void SetUp() override {
        DetectedWindow::SetUp();
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
};

// Every save: the profile and both exports. The dialog asked about the chosen name itself;
// the name it becomes is asked about only when it is another one and is there.
TEST_F(SaveNames, AFileUnderTheNameWithTheExtensionIsReplacedOnlyWhenTheUserSaysSo) {
    const std::pair<const char*, std::function<void()>> saves[] = {
        {"Save Profile", [&] { form.Btn_SaveClick(); }},
        {"Export One", [&] { form.Btn_ExportOneClick(); }},
        {"Export All", [&] { form.Btn_ExportClick(); }},
    };
    const struct {
        const char* chosen;
        const char* existing;  // nullptr: no file there
        const char* written;   // the name the save must land under
        bool asked, answer;
    } cases[] = {
        {"foo", "foo.bin", "foo.bin", true, true},
        {"foo", "foo.bin", "foo.bin", true, false},
        {"foo", nullptr, "foo.bin", false, false},
        {"foo.BIN", "foo.BIN", "foo.BIN", false, false},  // already a .bin name
        {"foo.txt", "foo.txt.bin", "foo.txt.bin", true, false},
        {"foo.txt", "foo.txt", "foo.txt.bin", false, false},  // the .txt itself is left alone
    };
    showSlot(0);
    for (const auto& [what, save] : saves) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(what) + ": " + c.chosen + " over " +
                         (c.existing ? c.existing : "nothing"));
            fs::remove_all(dir);
            fs::create_directories(dir);
            if (c.existing) std::ofstream(dir / c.existing) << "old";
            host.questions.clear();
            host.messages.clear();
            host.answers = {c.answer};
            host.saveNames = {(dir / c.chosen).string()};
            save();
            const fs::path written = dir / c.written;
            ASSERT_EQ(host.questions.size(), c.asked ? 1u : 0u);
            if (c.asked) {
                EXPECT_EQ(host.questions[0], written.string() +
                                                 " already exists. Do you want "
                                                 "to replace it?");
            }
            const bool replaced = !c.asked || c.answer;
            EXPECT_EQ(fs::file_size(written) > 3, replaced);
            if (c.existing && dir / c.existing != written) {
                EXPECT_EQ(fs::file_size(dir / c.existing), 3u);
            }
            EXPECT_EQ(host.messages, std::vector<std::string>{});
        }
    }
}

}  // namespace
}  // namespace scenario
