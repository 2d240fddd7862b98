// The copy of what a mouse held, saved before the editor writes it.
#include "app/main_form.h"
#include "image/backup_file.h"

namespace app {

void TForm1::BackUpMouse(const image::DataBuf& profile, std::string_view stem) {
    const auto error = image::writeBackupNow(backupFolder_, std::string(stem), profile);
    // Said once: the write itself goes on, and the next backups would fail the same way.
    if (!error || backupFailureTold_) return;
    backupFailureTold_ = true;
    const std::string where = backupFolder_.empty() ? "" : backupFolder_ + ": ";
    modal([&] {
        return host_.showMessage(languageText("Str035") + " (" + where + error->reason + ")");
    });
}

}  // namespace app
