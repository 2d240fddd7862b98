#pragma once
// The device link's window and host on a terminal: no pages, messages kept for standard error,
// real time, and a percentage line while a long transfer runs.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "device/link_window.h"
#include "skin/language_table.h"

namespace cli {

class ConsoleWindow : public device::LinkWindow, public device::LinkHost {
  public:
    // `progress` is where the progress line goes (a terminal), or null for none. Backups go
    // into `backupFolder` as the window makes them; none are kept without one.
    ConsoleWindow(std::FILE* progress, std::optional<std::string> backupFolder);

    // What the link told: a refused mouse and the message keys it showed.
    StateLabels refusal() const { return refusal_; }
    const std::vector<std::string>& messages() const { return messages_; }
    // What the user should know although the command went on (a backup that failed).
    const std::vector<std::string>& warnings() const { return warnings_; }
    // The English text of a message key.
    std::string text(std::string_view key) const { return language_.text(key); }
    const skin::LanguageTable& language() const { return language_; }

    void HideAllMenu() override {}
    void LockWindow() override {}
    void UnlockWindow() override {}
    void ShowWaitWindow() override {}
    void HideWaitWindow() override {}
    void ShowTransferProgress(int done, int total) override;
    void SetDevTimerEnabled(bool) override {}
    void ShowStateLabels(StateLabels labels) override;
    void RefreshErrorAP() override {}
    void ShowDevicePages() override {}
    void ShowNoDevicePage() override {}
    void RefreshMacroName() override {}
    void UIToMacroName() override {}
    void ClearMacroEditor() override {}
    void RefreshMouseSystemParameters() override {}
    void ApplyMouseSystemParameters() override {}
    void ShowMessage(std::string_view key) override;
    void ShowPressedPicture(std::string_view) override {}
    void CloseMainWindow() override {}
    void DeviceIdle() override {}
    void BackUpMouse(const image::DataBuf& profile, std::string_view stem) override;

    void sleep(int milliseconds) override;
    void processMessages() override {}

  private:
    std::FILE* progress_;
    skin::LanguageTable language_;
    StateLabels refusal_ = StateLabels::None;
    std::vector<std::string> messages_;
    std::optional<std::string> backupFolder_;
    std::vector<std::string> warnings_;
    int percent_ = -1;
};

}  // namespace cli
