#pragma once
// The buffers of the parameter image: the 256-byte image with its macro areas, and the working
// copy of its sections that the controls edit.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace image {

inline constexpr std::size_t kImageSize = 256;
inline constexpr std::size_t kSectionBufSize = 255;
inline constexpr std::size_t kMacroNameAreaSize = 1024;
inline constexpr std::size_t kMacroSize = 1024;
inline constexpr std::size_t kMacroCount = 32;
// Image, name area and all macros: the size of a profile file and the most the loader reads.
inline constexpr std::size_t kFullImageSize =
    kImageSize + kMacroNameAreaSize + kMacroCount * kMacroSize;  // 34,048

inline constexpr std::size_t kProfileCount = 3;
inline constexpr std::size_t kButtonCount = 12;
inline constexpr std::size_t kKeyCodeSize = 4;

using Byte = std::uint8_t;
using Macro = std::array<Byte, kMacroSize>;

// The image in the layout of the device, with its macro name area and macro area beside it.
// Used for the working image (DataBuf) and for the factory image of Reset (DefaultBuf).
struct DataBuf {
    std::array<Byte, kImageSize> image{};
    std::array<Byte, kMacroNameAreaSize> macroNames{};
    std::array<Macro, kMacroCount> macros{};
};
using DefaultBuf = DataBuf;

// The sections the controls edit, always in the layout-58 order.
using SectionBuf = std::array<Byte, kSectionBufSize>;

// The key function code of every profile and button as eight upper-case hex digits.
using KeyCodeTexts = std::array<std::array<std::string, kButtonCount>, kProfileCount>;

// Everything the editor holds of the image.
struct EditorImage {
    DataBuf dataBuf;
    SectionBuf sectionBuf{};
    KeyCodeTexts keyCodeTexts;
};

// Image layouts, told apart by image byte 1. kLayoutNone stands for "not known yet".
using LayoutType = Byte;
inline constexpr LayoutType kLayoutNone = 0;
inline constexpr LayoutType kLayout29 = 29;
inline constexpr LayoutType kLayout58 = 58;

// USB identity of the mouse model, as the built-in image carries it.
struct DeviceIdentity {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    friend bool operator==(const DeviceIdentity&, const DeviceIdentity&) = default;
};

}  // namespace image
