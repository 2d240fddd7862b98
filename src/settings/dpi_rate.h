#pragma once
// DPI levels and report rate: the image's four DPI codes, current position and rate code to the
// eight levels the editor offers, and back. Levels and codes meet through their texts in the
// language table, so both sides take them from the caller.
#include <array>
#include <string>

#include "image/image_types.h"

namespace settings {

struct DpiTexts {
    std::array<std::string, 8> levels;  // the eight levels, lowest position first
    std::array<std::string, 12> codes;  // the text of each DPI code 0-11
};

struct DpiShown {
    std::array<bool, 8> selected{};
    // Level 1-8 the current position names among the selected ones; 0 when it names none.
    int current = 0;
    // Fewer than two levels to show: the mouse's DPI bytes are kept until levels are chosen.
    bool kept = false;
    int rate = 0;  // 1 = 1000 Hz, 2 = 500 Hz, 0 for any other code
};

DpiShown readDpiRate(const image::SectionBuf& s, const DpiTexts& texts);

// Writes the selected levels (ascending, up to four; the rest of the slots 255) and the current
// level's place among them. A current level that is not selected names the lowest.
void writeDpi(image::SectionBuf& s, const std::array<bool, 8>& selected, int current,
              const DpiTexts& texts);

// Writes the rate (1 = 1000 Hz, 2 = 500 Hz); true when the code changed from `lastRate` Hz
// (0 before any), which the reload after the write must know.
bool writeRate(image::SectionBuf& s, int rate, int& lastRate);

inline int rateHz(int rate) {
    return rate == 1 ? 1000 : rate == 2 ? 500 : 0;
}

}  // namespace settings
