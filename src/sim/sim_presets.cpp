#include "sim/sim_presets.h"

#include <functional>
#include <string>
#include <vector>

#include "image/builtin_image.h"
#include "image/check_byte.h"
#include "image/key_code_texts.h"
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

namespace {

// A named slot of the demo macros: its name record and its event block.
void programMacro(MouseFirmware& firmware, int slot, const std::u16string& name,
                  std::vector<std::uint8_t> events) {
    std::vector<std::uint8_t> record(32, 0x00);
    record[0] = static_cast<std::uint8_t>(events.size() >> 8);
    record[1] = static_cast<std::uint8_t>(events.size() & 0xFF);
    record[3] = static_cast<std::uint8_t>(name.size() * 2);
    for (std::size_t i = 0; i < name.size(); ++i) {
        record[4 + 2 * i] = static_cast<std::uint8_t>(name[i] >> 8);
        record[5 + 2 * i] = static_cast<std::uint8_t>(name[i] & 0xFF);
    }
    firmware.program(static_cast<std::uint16_t>(0x6400 + 32 * slot), record);
    firmware.program(static_cast<std::uint16_t>(0x8000 + 0x400 * slot), events);
}

// Changes the programmed image as its sections (the layout-58 order), then renews the check byte
// of the section that changed.
void editImage(MouseFirmware& firmware, const image::Section& changed,
               const std::function<void(image::SectionBuf&)>& edit) {
    image::SectionBuf sections{};
    const auto image = firmware.read(MouseFirmware::kImageAddress, sections.size());
    std::copy(image.begin(), image.end(), sections.begin());
    edit(sections);
    image::refreshCheckByte(sections, changed);
    firmware.program(MouseFirmware::kImageAddress, sections);
}

// Gives button 6 of profiles 1 and 2 the macro of a slot, so that the page shows the macro's
// name on that button whichever of the two profiles is current.
void assignMacro(MouseFirmware& firmware, std::size_t button, int slot) {
    const auto address = static_cast<std::uint16_t>(0x8000 + 0x400 * slot);
    editImage(firmware, image::kProfile, [&](image::SectionBuf& sections) {
        for (std::size_t profile = 0; profile < 2; ++profile) {
            const std::size_t at = image::keyCodeOffset(profile, button);
            sections[at] = 0x10;
            sections[at + 1] = static_cast<std::uint8_t>(address >> 8);
            sections[at + 2] = static_cast<std::uint8_t>(address & 0xFF);
            sections[at + 3] = 0x00;
        }
    });
}

// Turns the light feature on (bit 0 of byte 9 clear), so that the Breathing Page works when the
// editor is tried without a mouse; the built-in image leaves the light alone.
void enableLight(MouseFirmware& firmware) {
    editImage(firmware, image::kParameterA, [](image::SectionBuf& sections) {
        sections[9] = static_cast<std::uint8_t>(sections[9] & ~0x01);
    });
}

}  // namespace

SimulatedMouse::SimulatedMouse(DeviceKind kind) : firmware(presetConfig(kind)) {
    programFactoryContents(firmware);
    enableLight(firmware);
    if (kind == DeviceKind::Macro) {
        // Two macros to look at: Ctrl+C with recorded delays, and a triple click.
        programMacro(firmware, 0, u"Copy",
                     {0x81, 0x01, 0xFE, 0x00, 0x32, 0x82, 0x06, 0xFE, 0x00, 0x5A, 0x02, 0x06, 0xFE,
                      0x00, 0x28, 0x01, 0x01, 0x00});
        programMacro(firmware, 1, u"Triple click",
                     {0xA1, 0xFE, 0x00, 0x28, 0x21, 0xFE, 0x00, 0x28, 0xA1, 0xFE, 0x00,
                      0x28, 0x21, 0xFE, 0x00, 0x28, 0xA1, 0xFE, 0x00, 0x28, 0x21, 0x00});
        assignMacro(firmware, 5, 1);
    }
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
