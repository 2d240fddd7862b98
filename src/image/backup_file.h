#pragma once
// Copies of what a mouse held before the editor or quorvex-ctl wrote it, as profile files in a
// folder of their own; only the newest few are kept.
#include <ctime>
#include <optional>
#include <string>

#include "image/image_types.h"
#include "image/raw_file.h"

namespace image {

inline constexpr std::size_t kBackupsKept = 10;

// The user's data folder for backups of the mouse ($XDG_DATA_HOME/quorvex/backups, on Windows
// %LOCALAPPDATA%\Quorvex\backups); empty where neither can be found.
std::string defaultBackupFolder();

// Writes `<time>-<stem>.bin` into the folder (made when missing), then removes the oldest
// backups beyond the newest ten. Nothing when the copy was written.
std::optional<FileError> writeBackup(const std::string& folder, const std::string& stem,
                                     std::time_t when, const DataBuf& profile);
// The same, now; an empty folder (no data folder found) is an error of its own.
std::optional<FileError> writeBackupNow(const std::string& folder, const std::string& stem,
                                        const DataBuf& profile);

}  // namespace image
