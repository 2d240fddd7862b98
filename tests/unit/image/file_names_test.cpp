// Folders and files named in every script, through every kind of file the editor writes: what
// goes out comes back byte for byte, under the very name it was given.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <filesystem>

#include "image/backup_file.h"
#include "image/builtin_image.h"
#include "image/profile_file.h"
#include "image/raw_file.h"

namespace image {
namespace {

namespace fs = std::filesystem;

struct Named {
    std::string folder, file;
};

const Named kNames[] = {
    {"José", "café"},
    {"Łukasz", "źdźbło"},
    {"Ελληνικά", "Ελληνικά προφίλ"},
    {"用户配置", "宏"},
    {"🖱 mouse", "🖱"},
    // As long as a name may be, with ".bin" included.
    {"long names", std::string(251 - 4, 'n')},
};

struct FileNames : ::testing::Test {
    fs::path root = fs::temp_directory_path() / ("quorvex-names-" + std::to_string(::getpid()));
    void TearDown() override { fs::remove_all(root); }
    // The names the folder holds, as the program spells them.
    static std::vector<std::string> listing(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(utf8FromPath(entry.path().filename()));
        return names;
    }
};

TEST_F(FileNames, EveryKindOfFileRoundTripsUnderItsName) {
    DataBuf profile;
    LoadBuiltInImage(profile);
    for (std::size_t i = 0; i < kMacroCount; ++i) profile.macros[i].fill(Byte(i * 7 + 1));
    profile.macroNames.fill(0x3C);
    const ProfileExpectation expected{identityOf(profile.image), *modelIdOf(profile.image),
                                      profile.image[1]};
    std::vector<Byte> macro(1056);
    for (std::size_t i = 0; i < macro.size(); ++i) macro[i] = Byte(i * 31);

    for (const auto& [folderName, fileName] : kNames) {
        SCOPED_TRACE(folderName + " / " + fileName.substr(0, 20));
        fs::remove_all(root);
        const std::string folder = utf8FromPath(root / pathFromUtf8(folderName));
        fs::create_directories(pathFromUtf8(folder));
        const std::string saved = folder + "/" + fileName + ".bin";
        const std::string exported = folder + "/" + fileName + " 1.bin";

        ASSERT_EQ(writeProfileFile(saved, profile), std::nullopt);
        const auto loaded = readProfileFile(saved, expected);
        ASSERT_TRUE(std::holds_alternative<DataBuf>(loaded));
        EXPECT_EQ(std::get<DataBuf>(loaded).image, profile.image);
        EXPECT_EQ(std::get<DataBuf>(loaded).macroNames, profile.macroNames);
        EXPECT_EQ(std::get<DataBuf>(loaded).macros, profile.macros);

        ASSERT_EQ(writeRawFile(exported, {macro}), std::nullopt);
        const auto imported = readRawFile(exported, macro.size());
        ASSERT_TRUE(std::holds_alternative<std::vector<Byte>>(imported));
        EXPECT_EQ(std::get<std::vector<Byte>>(imported), macro);

        const std::string backups = folder + "/backups";
        ASSERT_EQ(writeBackup(backups, "mouse", 0, profile), std::nullopt);
        const auto backup = listing(pathFromUtf8(backups));
        ASSERT_EQ(backup.size(), 1u);
        EXPECT_EQ(std::get<DataBuf>(readProfileFile(backups + "/" + backup[0], expected)).macros,
                  profile.macros);

        EXPECT_EQ(listing(root), std::vector<std::string>{folderName}) << "the folder's name";
        auto files = listing(pathFromUtf8(folder));
        std::vector<std::string> wanted{fileName + " 1.bin", fileName + ".bin", "backups"};
        std::ranges::sort(files);
        std::ranges::sort(wanted);
        EXPECT_EQ(files, wanted) << "the files' names, and no temporary file left";
    }
}

}  // namespace
}  // namespace image
