// Platforms without a system-wide input layer yet record nothing.
#include "macros/input_capture.h"

namespace macros {

std::unique_ptr<InputCapture> makeSystemInputCapture() {
    return nullptr;
}

}  // namespace macros
