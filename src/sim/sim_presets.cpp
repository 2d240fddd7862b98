#include "sim/sim_presets.h"

#include <vector>

#include "image/builtin_image.h"
#include "image/sections.h"

namespace sim {

FirmwareConfig presetConfig(DeviceKind kind) {
    FirmwareConfig c;
    c.kind = kind;
    if (kind == DeviceKind::ImageOnly) {
        c.classByte = 0x50;
        c.optionByte = 0x04;
    } else {
        c.classByte = 0xA0;
        c.optionByte = 0x00;
        c.flashRegister = 0xC8;
    }
    return c;
}

void programFactoryContents(MouseFirmware& firmware) {
    image::DataBuf factory;
    image::LoadBuiltInImage(factory);
    firmware.program(MouseFirmware::kImageAddress, factory.image);
    if (firmware.config().kind != DeviceKind::Macro) return;
    const auto section = [&](const image::Section& s) {
        return std::span<const std::uint8_t>(factory.image).subspan(s.offset, s.length);
    };
    firmware.program(0x7000, section(image::kParameterB));
    firmware.program(0x7005, section(image::kUserBreath));
    firmware.program(0x6400, factory.macroNames);
    for (std::size_t i = 0; i < image::kMacroCount; ++i) {
        firmware.program(static_cast<std::uint16_t>(0x8000 + i * 0x400), factory.macros[i]);
    }
}

SimulatedMouse::SimulatedMouse(DeviceKind kind) : firmware(presetConfig(kind)) {
    programFactoryContents(firmware);
    // An unrelated device first, as a keyboard usually enumerates before the mouse.
    addDevice({"sim/hidraw0", 0x046D, 0xC31C, 0, nullptr});
    addMouse(firmware, "sim/hidraw1");
}

std::optional<DeviceKind> parseDeviceKind(std::string_view text) {
    if (text == "macro") return DeviceKind::Macro;
    if (text == "image") return DeviceKind::ImageOnly;
    return std::nullopt;
}

}  // namespace sim
