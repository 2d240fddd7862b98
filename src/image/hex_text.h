#pragma once
// Bytes as upper-case hex text, two digits per byte: the form in which key codes, macro names
// and compiled macros travel through the editor.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/image_types.h"

namespace image {

std::string toHexText(std::span<const Byte> bytes);

// The bytes of a text of hex digit pairs (either case); nothing when the text has an odd length
// or a character that is not a hex digit.
std::optional<std::vector<Byte>> fromHexText(std::string_view text);

}  // namespace image
