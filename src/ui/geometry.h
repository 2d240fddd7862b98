#pragma once
#include <cstdint>

namespace ui {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Color&, const Color&) = default;
    // The layout tables' encoding: R + 256 G + 65536 B.
    static Color fromRgbValue(long value) {
        return {static_cast<std::uint8_t>(value & 0xFF),
                static_cast<std::uint8_t>((value >> 8) & 0xFF),
                static_cast<std::uint8_t>((value >> 16) & 0xFF)};
    }
};

struct Size {
    int w = 0, h = 0;
};

}  // namespace ui
