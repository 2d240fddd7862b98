#pragma once
// The one place that decides which HID the program talks to: the platform's, or a simulated
// mouse when QUORVEX_SIMULATED_MOUSE is "macro" or "image".
#include <memory>

#include "device/hid_backend.h"

namespace device {

std::unique_ptr<HidBackend> makeHidBackend();

}  // namespace device
