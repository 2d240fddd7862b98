#include "cli/console_window.h"

#include <chrono>
#include <thread>

namespace cli {

ConsoleWindow::ConsoleWindow(std::FILE* progress)
    : progress_(progress), language_(skin::LanguageTable::load(1)) {}

void ConsoleWindow::ShowWaitWindow() {
    if (waiting_) return;
    waiting_ = true;
    reports_ = 0;
}

void ConsoleWindow::HideWaitWindow() {
    if (waiting_ && progress_ && reports_ > 0) std::fprintf(progress_, "\r\033[K");
    waiting_ = false;
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

void ConsoleWindow::processMessages() {
    // The link runs the queue before every report of a transfer.
    ++reports_;
    if (waiting_ && progress_ && reports_ % 64 == 0) {
        std::fprintf(progress_, "\r%d reports ...", reports_);
        std::fflush(progress_);
    }
}

}  // namespace cli
