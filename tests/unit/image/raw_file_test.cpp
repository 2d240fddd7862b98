// Saving edits the user's file where it is: through links, with its mode, and never over a file
// or into a folder the user may not change.
#include "image/raw_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/unprivileged.h"

namespace image {
namespace {

namespace fs = std::filesystem;

struct RawFile : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("quorvex-raw-" + std::to_string(::getpid()));
    fs::path file = dir / "profile.bin";
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override {
        fs::permissions(dir, fs::perms::all);
        fs::remove_all(dir);
    }
    void put(fs::perms mode) {
        std::ofstream(file) << "old";
        fs::permissions(file, mode);
    }
    std::string text() const {
        std::stringstream s;
        s << std::ifstream(file).rdbuf();
        return s.str();
    }
    long files() const { return std::distance(fs::directory_iterator(dir), {}); }
    static int save(const fs::path& p) {
        const auto error = writeRawFile(p.string(), {std::vector<Byte>{'n', 'e', 'w'}});
        return error ? 1 + static_cast<int>(error->kind) : 0;
    }
};

TEST_F(RawFile, WritesThroughLinksAndKeepsTheMode) {
    put(fs::perms(0640));
    fs::create_symlink("profile.bin", dir / "link.bin");
    fs::create_symlink(dir / "link.bin", dir / "chain.bin");
    ASSERT_EQ(save(dir / "chain.bin"), 0);
    EXPECT_TRUE(fs::is_symlink(dir / "link.bin") && fs::is_symlink(dir / "chain.bin"));
    EXPECT_EQ(text(), "new");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));
    EXPECT_EQ(files(), 3) << "no temporary file is left";
}

TEST_F(RawFile, LeavesWhatTheUserMayNotReplace) {
    const struct {
        const char* what;
        fs::perms folder, file;
        int result;
    } cases[] = {
        {"writable file and folder", fs::perms(0777), fs::perms(0666), 0},
        {"read-only file", fs::perms(0777), fs::perms(0444), 1 + int(FileError::Kind::Create)},
        {"writable file in a read-only folder", fs::perms(0555), fs::perms(0666),
         1 + int(FileError::Kind::FolderNotWritable)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::permissions(dir, fs::perms::all);
        put(c.file);
        fs::permissions(dir, c.folder);
        EXPECT_EQ(testing_support::runUnprivileged([&] { return save(file); }), c.result);
        EXPECT_EQ(text(), c.result ? "old" : "new");
        EXPECT_EQ(files(), 1);
    }
}

}  // namespace
}  // namespace image
