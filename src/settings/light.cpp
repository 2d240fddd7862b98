#include "settings/light.h"

#include <array>
#include <charconv>

#include "image/sections.h"

namespace settings {
namespace {

// Codes written for steps 1-10; a stored code reads as the last step whose code it reaches.
constexpr std::array<std::uint8_t, 10> kHoldCodes{0, 25, 50, 75, 100, 125, 150, 175, 200, 225};
constexpr std::array<std::uint8_t, 10> kStepCodes{0, 4, 7, 9, 12, 14, 17, 19, 21, 23};

constexpr std::size_t kFlags = 9;     // bit 0: no light fields; bit 4: colour mode 1
constexpr std::size_t kTimes = 18;    // off, raise, on, fall
constexpr std::size_t kColour1 = 22;  // red, green, blue of colour mode 1
constexpr std::size_t kLedMode = 30;

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

TimeScale scaleOf(int phase) {
    return phase == 0 || phase == 2 ? TimeScale::Hold : TimeScale::Step;
}

std::optional<Light> readLight(const image::SectionBuf& s) {
    if (s[kFlags] & 0x01) return std::nullopt;
    Light light;
    const int mode = s[kLedMode];
    light.mode = mode == 1 || mode == 2 ? mode : 0;
    for (std::size_t phase = 0; phase < 4; ++phase)
        light.steps[phase] = stepOfCode(scaleOf(static_cast<int>(phase)), s[kTimes + phase]);
    light.colourMode = s[kFlags] & 0x10 ? 1 : 2;
    for (std::size_t i = 0; i < 3; ++i) {
        light.colour1[i] = s[kColour1 + i] > 100 ? 100 : s[kColour1 + i];
        light.colour2[i] = s[image::kUserBreath.offset + i];
    }
    return light;
}

void writeLight(image::SectionBuf& s, const Light& light) {
    if (s[kFlags] & 0x01) return;
    s[kLedMode] = static_cast<image::Byte>(light.mode);
    for (std::size_t phase = 0; phase < 4; ++phase) {
        if (light.steps[phase] >= 1)
            s[kTimes + phase] = codeOfStep(scaleOf(static_cast<int>(phase)), light.steps[phase]);
    }
    if (light.colourMode == 1) {
        s[kFlags] = static_cast<image::Byte>(s[kFlags] | 0x10);
    } else {
        s[kFlags] = static_cast<image::Byte>(s[kFlags] & ~0x10);
    }
    for (std::size_t i = 0; i < 3; ++i) {
        s[kColour1 + i] = static_cast<image::Byte>(light.colour1[i]);
        s[image::kUserBreath.offset + i] = static_cast<image::Byte>(light.colour2[i]);
    }
}

}  // namespace settings
