#pragma once
// A small PNG decoder for the skin pictures: 8-bit grey, grey + alpha, RGB, RGBA and palette
// images without interlacing. Everything else, and anything damaged, is refused.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace skin {

// Straight (not premultiplied) RGBA, rows top to bottom.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    bool empty() const { return width == 0 || height == 0; }
};

// Refuses pictures larger than this in either direction; the largest skin picture is 800 x 600.
inline constexpr int kMaxPictureSide = 4096;

struct DecodeError {
    std::string message;
};

std::variant<Picture, DecodeError> decodePng(std::span<const std::uint8_t> data);

// Decodes straight into memory of the caller's: `target(width, height)` is asked once the
// header is read and returns width * height * 4 bytes for the straight RGBA rows. For a renderer
// that keeps its own image and should not hold a second copy, even for a moment.
using PixelTarget = std::function<std::span<std::uint8_t>(int width, int height)>;
std::optional<DecodeError> decodePngInto(std::span<const std::uint8_t> data,
                                         const PixelTarget& target);
// The target that sizes and fills `picture`.
PixelTarget into(Picture& picture);

// The width and height the PNG's header declares, read without decoding the picture; nothing
// when the data does not start with a PNG signature and a whole IHDR chunk of a size in range.
std::optional<std::pair<int, int>> pngDimensions(std::span<const std::uint8_t> data);

}  // namespace skin
