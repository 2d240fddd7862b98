#include "image/backup_file.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "image/profile_file.h"

namespace image {
namespace {

namespace fs = std::filesystem;

// Backups are named from their time first, so that name order is age order.
bool isBackupName(const std::string& name) {
    return name.size() > 20 && name.ends_with(".bin") &&
           std::all_of(name.begin(), name.begin() + 8,
                       [](char c) { return c >= '0' && c <= '9'; }) &&
           name[8] == '-';
}

void removeOldBackups(const fs::path& folder) {
    std::vector<fs::path> backups;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.is_regular_file(ec) && isBackupName(entry.path().filename().string()))
            backups.push_back(entry.path());
    }
    if (backups.size() <= kBackupsKept) return;
    std::sort(backups.begin(), backups.end());
    for (std::size_t i = 0; i + kBackupsKept < backups.size(); ++i) fs::remove(backups[i], ec);
}

}  // namespace

std::optional<FileError> writeBackup(const std::string& folder, const std::string& stem,
                                     std::time_t when, const DataBuf& profile) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return FileError{FileError::Kind::Create, ec.message()};
    char time[32];
    const std::tm* local = std::localtime(&when);
    if (!local || std::strftime(time, sizeof(time), "%Y%m%d-%H%M%S", local) == 0)
        return FileError{FileError::Kind::Create, "no time"};
    fs::path path = fs::path(folder) / (std::string(time) + "-" + stem + ".bin");
    // Two backups within a second keep both; '_' sorts the later one after the first.
    for (int n = 2; fs::exists(path, ec); ++n)
        path =
            fs::path(folder) / (std::string(time) + "_" + std::to_string(n) + "-" + stem + ".bin");
    if (auto error = writeProfileFile(path.string(), profile)) return error;
    removeOldBackups(folder);
    return std::nullopt;
}

}  // namespace image
