#pragma once
// Every setting the window edits, by the name the command line gives it, read from and written
// into the editor's image with the window's own encoders and rules.
#include <string>
#include <utility>
#include <vector>

#include "image/image_types.h"
#include "settings/dpi_rate.h"

namespace settings {

using Setting = std::pair<std::string, std::string>;  // name, value

// Buttons of the three profiles, DPI levels and the current one, report rate, the light (or
// "light" = "mouse" where the mouse sets it itself), fire-key modes and the fire-mode list.
std::vector<Setting> readSettings(const image::EditorImage& img, const DpiTexts& texts);

struct SettingsChange {
    std::string error;         // empty when every change was taken
    bool rateChanged = false;  // the reload after the write must know
};
// Applies the changes in their order, as the window would take them; a value the window would
// correct or refuse is refused. On an error the image is left as it was.
SettingsChange applySettings(image::EditorImage& img, const std::vector<Setting>& changes,
                             const DpiTexts& texts, bool macroMouse);

// The names `applySettings` takes, for help texts and messages.
std::string settingNamesText();
// The same names one by one (profiles 1 and 2 only: profile 3 is read-only), for completion.
std::vector<std::string> settingNames();

}  // namespace settings
