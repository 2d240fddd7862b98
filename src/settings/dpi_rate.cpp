#include "settings/dpi_rate.h"

#include <algorithm>
#include <vector>

#include "image/sections.h"

namespace settings {
namespace {

constexpr std::size_t kDpiSlots = 10;    // four DPI codes at image offsets 10-13
constexpr std::size_t kCurrentDpi = 27;  // position of the current level

}  // namespace

DpiShown readDpiRate(const image::SectionBuf& s, const DpiTexts& texts) {
    DpiShown shown;
    std::vector<int> enabled;
    for (int n = 1; n <= 8; ++n) {
        const std::string& level = texts.levels[static_cast<std::size_t>(n - 1)];
        bool selected = false;
        for (std::size_t slot = 0; slot < 4; ++slot) {
            const int code = s[kDpiSlots + slot];
            selected |= code < 12 && !texts.codes[static_cast<std::size_t>(code)].empty() &&
                        texts.codes[static_cast<std::size_t>(code)] == level;
        }
        shown.selected[static_cast<std::size_t>(n - 1)] = selected;
        if (selected) enabled.push_back(n);
    }
    shown.kept = enabled.size() < 2;
    const std::size_t position = s[kCurrentDpi];
    if (position <= 3 && position < enabled.size()) shown.current = enabled[position];
    const int rate = s[image::kReportRateByte];
    shown.rate = rate == 1 || rate == 2 ? rate : 0;
    return shown;
}

void writeDpi(image::SectionBuf& s, const std::array<bool, 8>& selected, int current,
              const DpiTexts& texts) {
    std::vector<int> levels;
    for (int n = 1; n <= 8; ++n) {
        if (selected[static_cast<std::size_t>(n - 1)]) levels.push_back(n);
    }
    for (std::size_t slot = 0; slot < 4; ++slot) {
        if (slot >= levels.size()) {
            s[kDpiSlots + slot] = 0xFF;
            continue;
        }
        // A level no code names keeps the slot's byte.
        const std::string& level = texts.levels[static_cast<std::size_t>(levels[slot] - 1)];
        for (std::size_t code = 0; code < texts.codes.size(); ++code) {
            if (texts.codes[code] == level) {
                s[kDpiSlots + slot] = static_cast<image::Byte>(code);
                break;
            }
        }
    }
    // A mark on no selected level names the lowest, so the byte never points past the levels.
    const auto at = std::find(levels.begin(), levels.end(), current);
    const auto position = at == levels.end() ? 0 : at - levels.begin();
    s[kCurrentDpi] = static_cast<image::Byte>(std::min<std::ptrdiff_t>(position, 3));
}

bool writeRate(image::SectionBuf& s, int rate, int& lastRate) {
    s[image::kReportRateByte] = static_cast<image::Byte>(rate == 1 ? 1 : 2);
    const int hz = rate == 1 ? 1000 : 500;
    if (lastRate == hz) return false;
    lastRate = hz;
    return true;
}

}  // namespace settings
