#include "cli/console_window.h"

#include <chrono>
#include <thread>

#include "image/backup_file.h"

namespace cli {

ConsoleWindow::ConsoleWindow(std::FILE* progress, std::optional<std::string> backupFolder)
    : progress_(progress),
      language_(skin::LanguageTable::load(1)),
      backupFolder_(std::move(backupFolder)) {}

void ConsoleWindow::ShowTransferProgress(int done, int total) {
    if (!progress_) return;
    const int percent = total > 0 ? done * 100 / total : -1;
    if (percent == percent_) return;
    if (percent < 0) {
        std::fprintf(progress_, "\r\033[K");  // the line goes when the transfer ends
    } else {
        std::fprintf(progress_, "\r%3d%%", percent);
    }
    std::fflush(progress_);
    percent_ = percent;
}

void ConsoleWindow::ShowStateLabels(StateLabels labels) {
    if (labels != StateLabels::None) refusal_ = labels;
}

void ConsoleWindow::ShowMessage(std::string_view key) {
    messages_.emplace_back(key);
}

void ConsoleWindow::BackUpMouse(const image::DataBuf& profile, std::string_view stem) {
    if (!backupFolder_) return;
    // As in the window: the write goes on without its copy, and the user is told why.
    const auto error = image::writeBackupNow(*backupFolder_, std::string(stem), profile);
    if (!error) return;
    const std::string where = backupFolder_->empty() ? "" : *backupFolder_ + ": ";
    warnings_.push_back(text("Str035") + " (" + where + error->reason + ")");
}

void ConsoleWindow::sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace cli
