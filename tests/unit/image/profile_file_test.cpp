#include "image/profile_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif
#include <unistd.h>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "image/backup_file.h"
#include "image/builtin_image.h"

namespace image {
namespace {

namespace fs = std::filesystem;

std::string tempPath(const std::string& name) {
    return (fs::temp_directory_path() /
            ("quorvex-profile-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

void writeBytes(const std::string& path, std::size_t n, Byte value) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    for (std::size_t i = 0; i < n; ++i) f.put(static_cast<char>(value));
}

// The built-in image as a profile, and what identification accepts for it.
struct BuiltInProfile {
    DataBuf buf;
    ProfileExpectation expected;
    BuiltInProfile() {
        LoadBuiltInImage(buf);
        expected = {identityOf(buf.image), *modelIdOf(buf.image), buf.image[1]};
    }
};

TEST(ProfileFile, NameGetsOneSuffix) {
    EXPECT_EQ(withExtension("/tmp/gaming", "bin"), "/tmp/gaming.bin");
    EXPECT_EQ(withExtension("/tmp/gaming.bin", "bin"), "/tmp/gaming.bin") << "no second .bin";
    EXPECT_EQ(withExtension("/tmp/GAMING.BIN", "bin"), "/tmp/GAMING.BIN");
    EXPECT_EQ(withExtension("/tmp/a.txt", "bin"), "/tmp/a.txt.bin");
}

TEST(ProfileFile, WritesAndReadsAllThreeAreas) {
    BuiltInProfile p;
    p.buf.macroNames.fill(0x22);
    for (std::size_t i = 0; i < kMacroCount; ++i) p.buf.macros[i].fill(static_cast<Byte>(i));
    const auto path = tempPath("full.bin");
    ASSERT_FALSE(writeProfileFile(path, p.buf));
    EXPECT_EQ(fs::file_size(path), kFullImageSize);
    const auto in = readProfileFile(path, p.expected);
    ASSERT_TRUE(std::holds_alternative<DataBuf>(in));
    EXPECT_EQ(std::get<DataBuf>(in).image, p.buf.image);
    EXPECT_EQ(std::get<DataBuf>(in).macroNames, p.buf.macroNames);
    EXPECT_EQ(std::get<DataBuf>(in).macros[31], p.buf.macros[31]);
    fs::remove(path);
}

TEST(ProfileFile, RefusesWhatIsNotAProfileOfThisMouse) {
    using Kind = FileError::Kind;
    BuiltInProfile p;
    const auto path = tempPath("bad.bin");
    struct Case {
        const char* what;
        std::size_t size;
        std::function<void(DataBuf&)> change;
        Kind kind;
    };
    const std::vector<Case> cases{
        {"empty", 0, {}, Kind::Empty},
        {"one byte", 1, {}, Kind::WrongSize},
        {"one short", kFullImageSize - 1, {}, Kind::WrongSize},
        {"one long", kFullImageSize + 1, {}, Kind::WrongSize},
        {"another vendor", kFullImageSize, [](DataBuf& b) { b.image[2] ^= 1; }, Kind::OtherModel},
        {"another product", kFullImageSize, [](DataBuf& b) { b.image[5] ^= 1; }, Kind::OtherModel},
        {"another ModelId", kFullImageSize, [](DataBuf& b) { b.image[87] ^= 1; }, Kind::OtherModel},
        {"random bytes", kFullImageSize, [](DataBuf& b) { b.image.fill(0x5A); }, Kind::OtherModel},
    };
    for (const Case& c : cases) {
        if (c.change) {
            DataBuf changed = p.buf;
            c.change(changed);
            ASSERT_FALSE(writeProfileFile(path, changed));
        } else {
            writeBytes(path, c.size, 0x00);
        }
        const auto read = readProfileFile(path, p.expected);
        ASSERT_TRUE(std::holds_alternative<FileError>(read)) << c.what;
        EXPECT_EQ(std::get<FileError>(read).kind, c.kind) << c.what;
        if (c.kind == Kind::WrongSize) {
            EXPECT_EQ(std::get<FileError>(read).size, c.size);
        }
    }
    ASSERT_FALSE(writeProfileFile(path, p.buf));
    ProfileExpectation layout29 = p.expected;
    layout29.layout = kLayout29;
    EXPECT_EQ(std::get<FileError>(readProfileFile(path, layout29)).kind, Kind::OtherLayout);
    EXPECT_EQ(std::get<FileError>(readProfileFile(tempPath("missing.bin"), p.expected)).kind,
              Kind::Open);
    EXPECT_EQ(
        std::get<FileError>(readProfileFile(fs::temp_directory_path().string(), p.expected)).kind,
        Kind::NotAFile);
    fs::remove(path);
}

TEST(ProfileFile, AFailedSaveLeavesNoPartAndKeepsTheOldFile) {
    BuiltInProfile p;
    EXPECT_EQ(writeProfileFile("/nonexistent-dir/profile.bin", p.buf)->kind,
              FileError::Kind::Create);
    EXPECT_EQ(writeProfileFile(fs::temp_directory_path().string(), p.buf)->kind,
              FileError::Kind::NotAFile)
        << "a folder or a device is never replaced";
#ifdef _WIN32
    GTEST_SKIP() << "no file-size limit to stand in for a full disk here";
#else
    const auto path = tempPath("kept.bin");
    writeBytes(path, 100, 0x77);
    // A file-size limit stands in for a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 16384;
    setrlimit(RLIMIT_FSIZE, &small);
    const auto error = writeProfileFile(path, p.buf);
    setrlimit(RLIMIT_FSIZE, &old);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, FileError::Kind::Create);
    EXPECT_EQ(fs::file_size(path), 100u) << "the old file is untouched";
    int files = 0;
    for (const auto& e : fs::directory_iterator(fs::temp_directory_path()))
        files += e.path().filename().string().starts_with(fs::path(path).filename().string());
    EXPECT_EQ(files, 1) << "no temporary file is left";
    fs::remove(path);
#endif
}

TEST(BackupFile, KeepsTheNewestTen) {
    const auto folder = tempPath("backups");
    fs::remove_all(folder);
    DataBuf buf;
    const std::time_t last = 1'700'000'000 + 11 * 60;
    for (std::time_t t = 1'700'000'000; t <= last; t += 60)
        ASSERT_FALSE(writeBackup(folder, "1209-5158-macro", t, buf));
    for (int n = 2; n <= 12; ++n)
        ASSERT_FALSE(writeBackup(folder, "1209-5158-macro", last, buf)) << n << " in one second";
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) {
        names.push_back(e.path().filename().string());
        EXPECT_EQ(fs::file_size(e.path()), kFullImageSize);
    }
    ASSERT_EQ(names.size(), kBackupsKept);
    // The last second's 3rd to 12th, although "_10" comes before "_3" by name.
    for (int n = 3; n <= 12; ++n) {
        const std::string ending = "_" + std::to_string(n) + "-1209-5158-macro.bin";
        EXPECT_EQ(std::ranges::count_if(names, [&](const auto& x) { return x.ends_with(ending); }),
                  1)
            << ending;
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace image
