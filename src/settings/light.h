#pragma once
// The light's time scales and colour values: codes of the image to the ten steps of a bar and
// back, and the limits of the colour edits.
#include <cstdint>
#include <string>

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

}  // namespace settings
