#pragma once
// What a write sends to the mouse: which flash sectors it erases and which blocks it writes, in
// the order of the full write. On a macro device only the 4 KiB sectors whose bytes differ from
// what the mouse holds are erased and written again, and the section copies' sector always.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "device/hid_transport.h"
#include "image/image_types.h"

namespace device {

enum class DeviceKind { None, ImageOnly, Macro };

// Device addresses of the regions the link transfers.
inline constexpr std::uint16_t kImageAddress = 0x6000;
inline constexpr std::uint16_t kMacroNameAddress = 0x6400;
inline constexpr std::uint16_t kParameterBAddress = 0x7000;
inline constexpr std::uint16_t kUserBreathAddress = 0x7005;
inline constexpr std::uint16_t kMacroAddress = 0x8000;
inline constexpr std::uint16_t kMacroStride = 0x400;
// Names and macros travel in blocks of this many bytes.
inline constexpr std::size_t kTransferBlock = 256;

// The regions a write puts into the mouse, as the mouse holds them. On an image-only device
// only the image counts.
struct MouseContents {
    image::DataBuf buf;
    std::array<image::Byte, 5> parameterB{};
    std::array<image::Byte, 4> userBreath{};
};

struct WriteBlock {
    Access access;
    std::uint16_t address;
    std::span<const image::Byte> bytes;
};

struct WritePlan {
    std::vector<std::uint8_t> erases;  // high bytes of the sectors' addresses (0x60 … 0xF0)
    std::vector<WriteBlock> blocks;    // the image block first
    bool full = true;                  // every region, as the full write sends it
};

// The plan for `intended`; `held` is what the mouse holds, or nothing for the full write
// (unknown contents, Reset). The blocks refer into `intended`.
WritePlan planWrite(const MouseContents& intended, const std::optional<MouseContents>& held,
                    DeviceKind kind, Access imageAccess);

}  // namespace device
