// Saving edits the user's file where it is: through links, with its mode and owner, and never
// over a file or into a folder the user may not change.
#include "image/raw_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/unprivileged.h"

namespace image {
namespace {

namespace fs = std::filesystem;
using testing_support::runUnprivileged;

struct RawFile : ::testing::Test {
    fs::path folder = fs::temp_directory_path() / ("quorvex-raw-" + std::to_string(::getpid()));
    const std::vector<Byte> fresh{'n', 'e', 'w'};
    void SetUp() override {
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }
    static void put(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }
    static std::string contents(const fs::path& p) {
        std::stringstream s;
        s << std::ifstream(p).rdbuf();
        return s.str();
    }
    std::optional<FileError> save(const fs::path& p) { return writeRawFile(p.string(), {fresh}); }
};

TEST_F(RawFile, WritesThroughLinksAndKeepsModeAndOwner) {
    struct Case {
        const char* what;
        fs::path link;    // what the save is given
        fs::path target;  // where the bytes must land
        bool existing;
    };
    const std::vector<Case> cases{
        {"a link", "profile.bin", "dotfiles/profile.bin", true},
        {"a link to a link", "chain.bin", "dotfiles/profile.bin", true},
        {"a link to a missing file", "dangling.bin", "dotfiles/new.bin", false},
    };
    fs::create_directories(folder / "dotfiles");
    fs::create_symlink("dotfiles/profile.bin", folder / "profile.bin");
    fs::create_symlink("profile.bin", folder / "chain.bin");
    fs::create_symlink(folder / "dotfiles/new.bin", folder / "dangling.bin");
    const bool root = ::geteuid() == 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.existing) {
            put(folder / c.target, "old");
            fs::permissions(folder / c.target, fs::perms(0640));
            if (root) {
                ASSERT_EQ(::chown((folder / c.target).c_str(), 65534, 65534), 0);
            }
        }
        ASSERT_FALSE(save(folder / c.link));
        EXPECT_TRUE(fs::is_symlink(folder / c.link)) << "the link stays a link";
        EXPECT_EQ(contents(folder / c.target), "new");
        if (!c.existing) continue;
        EXPECT_EQ(fs::status(folder / c.target).permissions(), fs::perms(0640));
        struct stat st {};
        ASSERT_EQ(::stat((folder / c.target).c_str(), &st), 0);
        if (root) {
            EXPECT_EQ(st.st_uid, 65534u) << "the owner stays";
        }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "dotfiles"), {}), 2)
        << "no temporary file is left";
}

// Run as an ordinary user: root would pass every permission check.
TEST_F(RawFile, NeverReplacesWhatTheUserMayNotChange) {
    struct Case {
        const char* what;
        fs::perms folderMode;
        std::optional<fs::perms> fileMode;  // none: no file yet
        std::optional<FileError::Kind> error;
    };
    const std::vector<Case> cases{
        {"writable file and folder", fs::perms(0777), fs::perms(0666), std::nullopt},
        {"read-only file", fs::perms(0777), fs::perms(0444), FileError::Kind::Create},
        {"writable file in a read-only folder", fs::perms(0555), fs::perms(0666),
         FileError::Kind::FolderNotWritable},
        {"no file in a read-only folder", fs::perms(0555), std::nullopt, FileError::Kind::Create},
    };
    const fs::path file = folder / "profile.bin";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::permissions(folder, fs::perms::all);
        fs::remove(file);
        if (c.fileMode) {
            put(file, "old");
            fs::permissions(file, *c.fileMode);
        }
        fs::permissions(folder, c.folderMode);
        const int got = runUnprivileged([&] {
            const auto error = save(file);
            return error ? 1 + static_cast<int>(error->kind) : 0;
        });
        ASSERT_NE(got, -1) << "the child could not run as an ordinary user";
        EXPECT_EQ(got, c.error ? 1 + static_cast<int>(*c.error) : 0);
        const std::string expected = !c.error ? "new" : c.fileMode ? "old" : "";
        EXPECT_EQ(fs::exists(file) ? contents(file) : "", expected);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), c.fileMode || !c.error)
            << "nothing beside it";
    }
}

}  // namespace
}  // namespace image
