// Desktops whose mouse settings the editor does not reach yet: the bars still work, nothing
// is read from or written to the desktop.
#include "settings/mouse_settings.h"

namespace settings {

std::unique_ptr<MouseSettingsStore> makeSystemMouseSettingsStore() {
    return nullptr;
}

}  // namespace settings
