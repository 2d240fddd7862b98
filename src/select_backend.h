#pragma once
// The one place that decides which HID the program talks to: the platform's, or a simulated
// mouse ("macro" or "image").
#include <memory>
#include <optional>
#include <string>

#include "device/hid_backend.h"

namespace device {

struct BackendChoice {
    std::optional<std::string> simulatedMouse;  // "macro" or "image"
    std::optional<std::string> hidrawDirectory;  // Linux: where the hidraw nodes are listed
    // The editor's choice: QUORVEX_SIMULATED_MOUSE and QUORVEX_HIDRAW_DIR.
    static BackendChoice fromEnvironment();
};

// Nothing when the simulated mouse's kind is neither "macro" nor "image".
std::unique_ptr<HidBackend> makeHidBackend(const BackendChoice& choice);

// The editor's backend; an unknown simulated kind is told on standard error and the real mouse
// is used.
std::unique_ptr<HidBackend> makeHidBackend();

}  // namespace device
