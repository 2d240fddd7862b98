// What only Windows has: files another program holds shut, and a user folder in UTF-16.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "image/backup_file.h"
#include "image/raw_file.h"

namespace image {
namespace {

namespace fs = std::filesystem;

TEST(LockedFile, IsToldAndLeftAsItWas) {
    const fs::path dir = fs::temp_directory_path() / L"quorvex-locked-\u7528\u6237";
    const fs::path file = dir / L"Jos\u00e9.bin";
    fs::create_directories(dir);
    ASSERT_EQ(writeRawFile(utf8FromPath(file), {std::vector<Byte>{'o', 'l', 'd'}}), std::nullopt);
    // Another program's handle that shares nothing.
    const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto write = writeRawFile(utf8FromPath(file), {std::vector<Byte>(1056, 0x11)});
    const auto read = readRawFile(utf8FromPath(file), 3);
    CloseHandle(held);
    ASSERT_TRUE(write.has_value());
    EXPECT_EQ(write->kind, FileError::Kind::InUse) << write->reason;
    ASSERT_TRUE(std::holds_alternative<FileError>(read));
    EXPECT_EQ(std::get<FileError>(read).kind, FileError::Kind::InUse);
    EXPECT_EQ(fs::file_size(file), 3u) << "the file keeps its bytes";
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1) << "no temporary file is left";
    fs::remove_all(dir);
}

TEST(BackupFolder, ComesFromTheUsersFolderWhateverItsCharacters) {
    wchar_t before[1024] = {};
    const DWORD had = GetEnvironmentVariableW(L"LOCALAPPDATA", before, 1024);
    SetEnvironmentVariableW(L"LOCALAPPDATA", L"C:\\users\\Jos\u00e9 \u0141ukasz \u7528\u6237");
    const std::string folder = defaultBackupFolder();
    SetEnvironmentVariableW(L"LOCALAPPDATA", had ? before : nullptr);
    EXPECT_EQ(folder, "C:\\users\\José Łukasz 用户\\Quorvex\\backups");
}

}  // namespace
}  // namespace image
