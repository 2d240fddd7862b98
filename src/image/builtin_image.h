#pragma once
// The factory image that the program carries as the resource "QUORVEXDATA".
#include <optional>
#include <span>

#include "image/image_types.h"

namespace image {

inline constexpr const char* kBuiltInImageResource = "QUORVEXDATA";

// Reads bytes laid out like a profile file (image, macro name area, 32 macros; up to 34,048
// bytes) into the target. Whatever the bytes do not reach stays as it was; anything beyond
// 34,048 bytes is ignored.
void loadImageBytes(std::span<const Byte> bytes, DataBuf& target);

// Loads the built-in resource into the target. False, with the target untouched, only when the
// program lacks the resource (a broken build).
bool LoadBuiltInImage(DataBuf& target);

// The identity the program takes from an image at start-up.
DeviceIdentity identityOf(const std::array<Byte, kImageSize>& image);

// The ModelId bytes at their place for the image's own layout (byte 1): 83-84 for layout 29,
// 87-88 for layout 58; nothing for any other layout.
std::optional<std::array<Byte, 2>> modelIdOf(const std::array<Byte, kImageSize>& image);

}  // namespace image
