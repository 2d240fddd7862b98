#include "select_backend.h"

#include <cstdio>
#include <cstdlib>

#include "sim/sim_presets.h"

#if defined(__linux__)
#include "device/linux/hidraw_backend.h"
#elif defined(_WIN32)
#include "device/windows/windows_hid_backend.h"
#endif

namespace device {

std::unique_ptr<HidBackend> makeHidBackend() {
    if (const char* value = std::getenv("QUORVEX_SIMULATED_MOUSE"); value && *value) {
        if (const auto kind = sim::parseDeviceKind(value))
            return std::make_unique<sim::SimulatedMouse>(*kind);
        std::fprintf(stderr,
                     "QUORVEX_SIMULATED_MOUSE=%s is neither \"macro\" nor \"image\"; "
                     "using the real mouse.\n",
                     value);
    }
#if defined(__linux__)
    return std::make_unique<HidrawBackend>();
#elif defined(_WIN32)
    return std::make_unique<WindowsHidBackend>([]() -> const HidApi& { return systemHidApi(); });
#else
#error "no HID backend for this platform yet"
#endif
}

}  // namespace device
