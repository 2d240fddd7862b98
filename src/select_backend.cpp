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
namespace {

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return value;
}

}  // namespace

BackendChoice BackendChoice::fromEnvironment() {
    return {variable("QUORVEX_SIMULATED_MOUSE"), variable("QUORVEX_HIDRAW_DIR")};
}

std::unique_ptr<HidBackend> makeHidBackend(const BackendChoice& choice) {
    if (choice.simulatedMouse) {
        const auto kind = sim::parseDeviceKind(*choice.simulatedMouse);
        if (!kind) return nullptr;
        return std::make_unique<sim::SimulatedMouse>(*kind);
    }
#if defined(__linux__)
    return std::make_unique<HidrawBackend>(choice.hidrawDirectory.value_or("/dev"));
#elif defined(_WIN32)
    return std::make_unique<WindowsHidBackend>([]() -> const HidApi& { return systemHidApi(); });
#else
#error "no HID backend for this platform yet"
#endif
}

std::unique_ptr<HidBackend> makeHidBackend() {
    BackendChoice choice = BackendChoice::fromEnvironment();
    if (auto backend = makeHidBackend(choice)) return backend;
    std::fprintf(stderr,
                 "QUORVEX_SIMULATED_MOUSE=%s is neither \"macro\" nor \"image\"; "
                 "using the real mouse.\n",
                 choice.simulatedMouse->c_str());
    choice.simulatedMouse.reset();
    return makeHidBackend(choice);
}

}  // namespace device
