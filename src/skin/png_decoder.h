#pragma once
// A small PNG decoder for the skin pictures: 8-bit grey, grey + alpha, RGB, RGBA and palette
// images without interlacing. Everything else, and anything damaged, is refused.
#include <cstdint>
#include <span>
#include <string>
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

}  // namespace skin
