#pragma once
// The light's time scales and colour values: codes of the image to the ten steps of a bar and
// back, and the limits of the colour edits.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "image/image_types.h"

namespace settings {

enum class TimeScale {
    Hold,  // off and on hold times: steps of 25
    Step,  // raise and fall step times: the short, uneven scale
};

// The step (1-10) a stored code reads as.
int stepOfCode(TimeScale scale, std::uint8_t code);
// The code written for a step (1-10).
std::uint8_t codeOfStep(TimeScale scale, int step);

// A colour mode 1 edit after a change: empty becomes "0", above 100 becomes "100".
std::string correctColourText(const std::string& text);

// The light as the Breathing Page shows it.
struct Light {
    int mode = 0;                  // 0 Random, 1 Colorful, 2 Custom
    std::array<int, 4> steps{};    // off, raise, on, fall: 1-10, 0 keeps the stored code
    int colourMode = 1;            // 1: the editor's colour, 2: the one chosen on the mouse
    std::array<int, 3> colour1{};  // red, green, blue of colour mode 1: 0-100
    std::array<int, 3> colour2{};  // of colour mode 2: 0-255, only shown
};

// Nothing where byte 9 bit 0 says the mouse sets its light itself. Colour mode 1 values above
// 100 read as 100, as the page corrects them.
std::optional<Light> readLight(const image::SectionBuf& s);
// Leaves everything alone on such a mouse; otherwise writes the light's bytes and the colour
// mode bit, keeping the other bits of byte 9. Colour values are taken modulo 256.
void writeLight(image::SectionBuf& s, const Light& light);

TimeScale scaleOf(int phase);  // off and on hold, raise and fall step

}  // namespace settings
