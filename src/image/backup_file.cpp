#include "image/backup_file.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>

#include "image/profile_file.h"
#include "image/save_os.h"

namespace image {
namespace {

namespace fs = std::filesystem;

// Backups are named from their time first; backupAge gives their order.
bool isBackupName(const std::string& name) {
    return name.size() > 20 && name.ends_with(".bin") &&
           std::all_of(name.begin(), name.begin() + 8,
                       [](char c) { return c >= '0' && c <= '9'; }) &&
           name[8] == '-';
}

// A second backup within the same second is `<time>_<n>-`: by time first, then by n, which
// name order alone gets wrong from n = 10 on.
std::pair<std::string, int> backupAge(const fs::path& path) {
    const std::string name = utf8FromPath(path.filename());
    const std::size_t end = std::min(name.find('-', 9), name.find('_'));
    if (end == std::string::npos || name[end] != '_') return {name.substr(0, end), 1};
    return {name.substr(0, end), std::atoi(name.c_str() + end + 1)};
}

void removeOldBackups(const fs::path& folder) {
    std::vector<fs::path> backups;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.is_regular_file(ec) && isBackupName(utf8FromPath(entry.path().filename())))
            backups.push_back(entry.path());
    }
    if (backups.size() <= kBackupsKept) return;
    std::ranges::sort(backups, {}, backupAge);
    for (std::size_t i = 0; i + kBackupsKept < backups.size(); ++i) fs::remove(backups[i], ec);
}

}  // namespace

std::string defaultBackupFolder() {
    const auto env = environmentText;
#ifdef _WIN32
    if (const std::string local = env("LOCALAPPDATA"); !local.empty())
        return local + "\\Quorvex\\backups";
    return {};
#else
    if (const std::string data = env("XDG_DATA_HOME"); !data.empty())
        return data + "/quorvex/backups";
    if (const std::string home = env("HOME"); !home.empty())
        return home + "/.local/share/quorvex/backups";
    return {};
#endif
}

std::optional<FileError> writeBackupNow(const std::string& folder, const std::string& stem,
                                        const DataBuf& profile) {
    if (folder.empty()) return FileError{FileError::Kind::Create, "no folder for user data"};
    return writeBackup(folder, stem, std::time(nullptr), profile);
}

std::optional<FileError> writeBackup(const std::string& folderName, const std::string& stem,
                                     std::time_t when, const DataBuf& profile) {
    fs::path folder;
    try {
        folder = pathFromUtf8(folderName);
    } catch (const std::exception& e) {
        return FileError{FileError::Kind::Create, e.what()};
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return FileError{FileError::Kind::Create, ec.message()};
    char time[32];
    const std::tm* local = std::localtime(&when);
    if (!local || std::strftime(time, sizeof(time), "%Y%m%d-%H%M%S", local) == 0)
        return FileError{FileError::Kind::Create, "no time"};
    // Backups within one second keep all: each later one is numbered past every one of that
    // second still there, so that it is never taken for the oldest.
    int last = 0;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const auto [second, n] = backupAge(entry.path());
        if (second == time && isBackupName(utf8FromPath(entry.path().filename())))
            last = std::max(last, n);
    }
    const std::string name = last == 0 ? time : time + ("_" + std::to_string(last + 1));
    const fs::path path = folder / pathFromUtf8(name + "-" + stem + ".bin");
    if (auto error = writeProfileFile(utf8FromPath(path), profile)) return error;
    removeOldBackups(folder);
    return std::nullopt;
}

}  // namespace image
