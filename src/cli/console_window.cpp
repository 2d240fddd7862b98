#include "cli/console_window.h"

#include <chrono>
#include <thread>

namespace cli {

ConsoleWindow::ConsoleWindow(std::FILE* progress)
    : progress_(progress), language_(skin::LanguageTable::load(1)) {}

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

void ConsoleWindow::sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace cli
