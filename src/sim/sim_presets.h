#pragma once
// Ready-made simulated mice: the two device kinds as the editor expects them, holding the
// factory image.
#include <memory>
#include <string_view>

#include "sim/mouse_firmware.h"
#include "sim/sim_backend.h"

namespace sim {

// A macro device (class 0xA0, flash class 64) or an image-only device (class 0x50, option
// bits 2-3 = 4), both layout 58 with the ids of the built-in image.
FirmwareConfig presetConfig(DeviceKind kind);

// Writes the factory contents: the built-in image at 0x6000 and, on a macro device, the
// ParameterB and UserBreath copies at 0x7000 and 0x7005 and empty macro names and macros.
void programFactoryContents(MouseFirmware& firmware);

// A backend that owns its simulated mouse, with one unrelated HID device beside it. A macro
// mouse comes with two demo macros in slots 0 and 1.
class SimulatedMouse : public SimBackend {
  public:
    explicit SimulatedMouse(DeviceKind kind);
    MouseFirmware firmware;
};

// "macro" or "image" (the values of QUORVEX_SIMULATED_MOUSE); nothing for anything else.
std::optional<DeviceKind> parseDeviceKind(std::string_view text);

}  // namespace sim
