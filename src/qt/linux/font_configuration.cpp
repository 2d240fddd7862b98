#include "qt/linux/font_configuration.h"

#include <fontconfig/fontconfig.h>

#include <thread>

namespace qtui {

void loadFontConfigurationAhead() {
    // FcInit is safe beside Qt's own later call: the first configuration made is the one kept.
    std::thread([] { FcInit(); }).detach();
}

}  // namespace qtui
