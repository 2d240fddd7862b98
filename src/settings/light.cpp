#include "settings/light.h"

#include <array>
#include <charconv>

namespace settings {
namespace {

// Codes written for steps 1-10; a stored code reads as the last step whose code it reaches.
constexpr std::array<std::uint8_t, 10> kHoldCodes{0, 25, 50, 75, 100, 125, 150, 175, 200, 225};
constexpr std::array<std::uint8_t, 10> kStepCodes{0, 4, 7, 9, 12, 14, 17, 19, 21, 23};

const std::array<std::uint8_t, 10>& codes(TimeScale scale) {
    return scale == TimeScale::Hold ? kHoldCodes : kStepCodes;
}

}  // namespace

int stepOfCode(TimeScale scale, std::uint8_t code) {
    int step = 1;
    for (int i = 0; i < 10; ++i) {
        if (code >= codes(scale)[static_cast<std::size_t>(i)]) step = i + 1;
    }
    return step;
}

std::uint8_t codeOfStep(TimeScale scale, int step) {
    if (step < 1) step = 1;
    if (step > 10) step = 10;
    return codes(scale)[static_cast<std::size_t>(step - 1)];
}

std::string correctColourText(const std::string& text) {
    if (text.empty()) return "0";
    unsigned long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec == std::errc::result_out_of_range ||
        (ec == std::errc() && end == text.data() + text.size() && v > 100)) {
        return "100";
    }
    return text;
}

}  // namespace settings
