// The copy of what a mouse held, saved before the editor first writes it.
#include <cstdlib>
#include <ctime>

#include "app/main_form.h"
#include "image/backup_file.h"

namespace app {

std::string defaultBackupFolder() {
    const auto env = [](const char* name) -> std::string {
        const char* value = std::getenv(name);
        return value ? value : "";
    };
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

void TForm1::BackUpMouse(const image::DataBuf& profile, std::string_view stem) {
    std::optional<image::FileError> error;
    if (backupFolder_.empty()) {
        error = image::FileError{image::FileError::Kind::Create, "no folder for user data"};
    } else {
        error = image::writeBackup(backupFolder_, std::string(stem), std::time(nullptr), profile);
    }
    // Said once: the write itself goes on, and the next backups would fail the same way.
    if (!error || backupFailureTold_) return;
    backupFailureTold_ = true;
    modal([&] {
        return host_.showMessage(languageText("Str035") + " (" + backupFolder_ + ": " +
                                 error->reason + ")");
    });
}

}  // namespace app
