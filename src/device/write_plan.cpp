#include "device/write_plan.h"

#include <bitset>

namespace device {
namespace {

constexpr std::size_t kSectors = 10;            // 0x6000 … 0xF000
constexpr std::size_t kSectionCopySector = 1;   // 0x7000
constexpr std::size_t kMacrosPerSector = 4;

std::size_t macroSector(std::size_t macro) {
    return 2 + macro / kMacrosPerSector;
}

// The sectors whose intended bytes differ from what the mouse holds. The section copies' sector
// is always among them: the mouse's own CPI, rate and light buttons change it behind our back.
std::bitset<kSectors> changedSectors(const MouseContents& intended, const MouseContents& held) {
    std::bitset<kSectors> sectors;
    sectors.set(kSectionCopySector);
    if (intended.buf.image != held.buf.image || intended.buf.macroNames != held.buf.macroNames)
        sectors.set(0);
    for (std::size_t m = 0; m < image::kMacroCount; ++m) {
        if (intended.buf.macros[m] != held.buf.macros[m]) sectors.set(macroSector(m));
    }
    return sectors;
}

void addPieces(WritePlan& plan, std::uint16_t address, std::span<const image::Byte> bytes) {
    for (std::size_t k = 0; k * kTransferBlock < bytes.size(); ++k) {
        plan.blocks.push_back({Access::Long, static_cast<std::uint16_t>(address + k * kTransferBlock),
                               bytes.subspan(k * kTransferBlock, kTransferBlock)});
    }
}

}  // namespace

WritePlan planWrite(const MouseContents& intended, const std::optional<MouseContents>& held,
                    DeviceKind kind, Access imageAccess) {
    WritePlan plan;
    if (kind != DeviceKind::Macro) {
        plan.blocks.push_back({imageAccess, kImageAddress, intended.buf.image});
        return plan;
    }
    std::bitset<kSectors> sectors;
    sectors.set();
    if (held) sectors = changedSectors(intended, *held);
    plan.full = sectors.all();
    for (std::size_t n = 0; n < kSectors; ++n) {
        if (sectors[n]) plan.erases.push_back(static_cast<std::uint8_t>(0x60 + 0x10 * n));
    }
    if (sectors[0]) {
        plan.blocks.push_back({imageAccess, kImageAddress, intended.buf.image});
        addPieces(plan, kMacroNameAddress, intended.buf.macroNames);
    }
    for (std::size_t m = 0; m < image::kMacroCount; ++m) {
        if (sectors[macroSector(m)])
            addPieces(plan, static_cast<std::uint16_t>(kMacroAddress + m * kMacroStride),
                      intended.buf.macros[m]);
    }
    plan.blocks.push_back({Access::Long, kParameterBAddress, intended.parameterB});
    plan.blocks.push_back({Access::Long, kUserBreathAddress, intended.userBreath});
    return plan;
}

}  // namespace device
