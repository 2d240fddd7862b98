#include "settings/image_settings.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>

#include "image/sections.h"
#include "keys/assignment.h"
#include "keys/fire_key_modes.h"
#include "keys/function_words.h"
#include "keys/key_code.h"
#include "settings/light.h"

namespace settings {
namespace {

constexpr const char* kLedModes[] = {"random", "colorful", "custom"};
constexpr const char* kPhases[] = {"off", "raise", "on", "fall"};

std::vector<std::string> split(std::string_view text, char by) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (true) {
        const std::size_t at = text.find(by, from);
        parts.emplace_back(text.substr(from, at - from));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

template <typename T>
std::string joined(const T& values, const char* by) {
    std::string text;
    for (const auto& v : values) text += (text.empty() ? "" : by) + std::to_string(v);
    return text;
}

std::string levelList(const DpiTexts& texts) {
    std::string list;
    for (const std::string& level : texts.levels) list += (list.empty() ? "" : ", ") + level;
    return list;
}

// The state the window would hold after showing the image, edited by the changes and written
// back once at the end.
struct Edit {
    image::EditorImage img;
    const DpiTexts& texts;
    bool macroMouse;
    DpiShown dpi;
    bool dpiChanged = false;
    std::optional<Light> light;
    bool lightChanged = false;
    keys::FireModeSelection fireModes;
    bool fireModesChanged = false;
    bool fireModesGiven = false;

    std::string button(int profile, int b, const std::string& value) {
        if (profile == 3) return "profile 3 is read-only; profile1 and profile2 can be changed";
        const auto pick = keys::functionOfWord(value, b, img.sectionBuf, macroMouse);
        if (!pick.error.empty()) return pick.error;
        if (b <= 3) {
            // The three basic buttons hold Left, Right and Middle one each, as in the window.
            const auto p = static_cast<std::size_t>(profile - 1);
            std::array<std::string, 3> codes{img.keyCodeTexts[p][0], img.keyCodeTexts[p][1],
                                             img.keyCodeTexts[p][2]};
            const auto exchanged = keys::exchangeBasicFunction(codes, b, pick.code);
            for (int k = 1; k <= 3; ++k)
                keys::storeKeyCode(img, profile, k, exchanged[static_cast<std::size_t>(k - 1)]);
        } else {
            keys::storeKeyCode(img, profile, b, pick.code);
        }
        fireModesChanged |= pick.code == "0F000000";
        return {};
    }

    std::string dpiLevels(const std::string& value) {
        std::array<bool, 8> selected{};
        int count = 0;
        for (const std::string& part : split(value, ',')) {
            const auto at = std::find(texts.levels.begin(), texts.levels.end(), part);
            if (part.empty() || at == texts.levels.end())
                return "\"" + part + "\" is no DPI level; the levels are " + levelList(texts);
            auto& chosen = selected[static_cast<std::size_t>(at - texts.levels.begin())];
            if (chosen) return "level " + part + " is named twice";
            chosen = true;
            ++count;
        }
        if (count < 2 || count > 4)
            return "the mouse takes two to four DPI levels, not " + std::to_string(count) +
                   "; the levels are " + levelList(texts);
        dpi.selected = selected;
        dpi.kept = false;
        dpiChanged = true;
        // A current level no longer chosen moves to the lowest chosen, as in the window.
        if (dpi.current < 1 || !dpi.selected[static_cast<std::size_t>(dpi.current - 1)]) {
            dpi.current =
                static_cast<int>(std::find(dpi.selected.begin(), dpi.selected.end(), true) -
                                 dpi.selected.begin() + 1);
        }
        return {};
    }

    std::string dpiCurrent(const std::string& value) {
        const auto at = std::find(texts.levels.begin(), texts.levels.end(), value);
        const auto level = at - texts.levels.begin();
        if (value.empty() || at == texts.levels.end() ||
            !dpi.selected[static_cast<std::size_t>(level)]) {
            std::string chosen;
            for (std::size_t n = 0; n < 8; ++n) {
                if (dpi.selected[n]) chosen += (chosen.empty() ? "" : ", ") + texts.levels[n];
            }
            return "the current DPI is one of the chosen levels (" +
                   (chosen.empty() ? std::string("none: set dpi first") : chosen) + ")";
        }
        if (dpi.kept) return "the mouse holds fewer than two levels the editor shows: set dpi too";
        dpi.current = static_cast<int>(level) + 1;
        dpiChanged = true;
        return {};
    }

    std::string lightSetting(const std::string& name, const std::string& value) {
        if (!light) return "this mouse sets its light itself; light settings cannot be changed";
        if (name == "light.mode") {
            for (int m = 0; m < 3; ++m) {
                if (value == kLedModes[m]) {
                    light->mode = m;
                    lightChanged = true;
                    return {};
                }
            }
            return "light.mode is random, colorful or custom";
        }
        for (std::size_t phase = 0; phase < 4; ++phase) {
            if (name != std::string("light.") + kPhases[phase]) continue;
            const auto step = keys::wordNumber(value, 10);
            if (!step || *step < 1) return name + " is a step from 1 to 10";
            light->steps[phase] = *step;
            lightChanged = true;
            return {};
        }
        if (name == "light.colour-mode") {
            const auto mode = keys::wordNumber(value, 2);
            if (!mode || *mode < 1)
                return "light.colour-mode is 1 (the colour set here) or 2 (the colour chosen on "
                       "the mouse)";
            light->colourMode = *mode;
            lightChanged = true;
            return {};
        }
        if (name == "light.colour") {
            const auto parts = split(value, ',');
            std::array<int, 3> colour{};
            for (std::size_t i = 0; i < 3; ++i) {
                const auto v = parts.size() == 3 ? keys::wordNumber(parts[i], 100) : std::nullopt;
                if (!v) return "light.colour is red,green,blue, each from 0 to 100";
                colour[i] = *v;
            }
            light->colour1 = colour;
            lightChanged = true;
            return {};
        }
        if (name == "light.mouse-colour")
            return "light.mouse-colour is chosen on the mouse with its LED-mode button";
        return {};
    }

    std::string fireKey(int mode, const std::string& value) {
        const auto parts = split(value, 'x');
        const auto repeat = parts.size() == 2 ? keys::wordNumber(parts[0], 15) : std::nullopt;
        const auto delay = parts.size() == 2 ? keys::wordNumber(parts[1], 2000) : std::nullopt;
        // The window turns a repeat count or delay of 1 into 2: that is refused here.
        if (!repeat || !delay || *repeat == 1 || *delay == 1)
            return "firekey" + std::to_string(mode) +
                   " is REPEATxDELAY: a repeat count of 0 or 2 to 15 and a delay of 0 or 2 to "
                   "2000, as 3x40";
        keys::writeFireKeyMode(img.sectionBuf, mode, static_cast<unsigned>(*repeat),
                               static_cast<unsigned>(*delay));
        return {};
    }

    std::string fireModeList(const std::string& value) {
        std::set<int> modes;
        for (const std::string& part : split(value, ',')) {
            const auto mode = keys::wordNumber(part, 4);
            if (!mode || *mode < 1 || !modes.insert(*mode).second) modes.clear();
            if (modes.empty()) break;
        }
        if (modes.empty() || modes.size() > 3)
            return "fire-modes lists one to three different modes of 1 to 4, as 1,3";
        std::array<std::uint8_t, 4> code{0x0F, 0, 0, 0};
        std::copy(modes.begin(), modes.end(), code.begin() + 1);
        fireModes.takeFromCode(code);
        fireModesChanged = fireModesGiven = true;
        return {};
    }

    std::string apply(const std::string& name, const std::string& value) {
        int profile = 0, b = 0;
        char tail = 0;
        if (std::sscanf(name.c_str(), "profile%d.button%d%c", &profile, &b, &tail) == 2 &&
            name == "profile" + std::to_string(profile) + ".button" + std::to_string(b) &&
            profile >= 1 && profile <= 3 && b >= 1 && b <= 12)
            return button(profile, b, value);
        if (name == "dpi") return dpiLevels(value);
        if (name == "dpi.current") return dpiCurrent(value);
        if (name == "rate") {
            if (value != "500" && value != "1000") return "rate is 500 or 1000";
            dpi.rate = value == "1000" ? 1 : 2;
            return {};
        }
        if (lightKnown(name)) return lightSetting(name, value);
        for (int mode = 1; mode <= 4; ++mode) {
            if (name == "firekey" + std::to_string(mode)) return fireKey(mode, value);
        }
        if (name == "fire-modes") return fireModeList(value);
        return "unknown setting \"" + name + "\"; settings are " + settingNamesText();
    }

    static bool lightKnown(const std::string& name) {
        for (const char* n : {"light.mode", "light.off", "light.raise", "light.on", "light.fall",
                              "light.colour-mode", "light.colour", "light.mouse-colour"}) {
            if (name == n) return true;
        }
        return false;
    }
};

}  // namespace

std::vector<Setting> readSettings(const image::EditorImage& img, const DpiTexts& texts) {
    std::vector<Setting> out;
    for (int p = 1; p <= 3; ++p) {
        for (int b = 1; b <= 12; ++b) {
            out.emplace_back("profile" + std::to_string(p) + ".button" + std::to_string(b),
                             keys::functionWord(img.keyCodeTexts[static_cast<std::size_t>(p - 1)]
                                                                [static_cast<std::size_t>(b - 1)],
                                                img.sectionBuf));
        }
    }
    const DpiShown dpi = readDpiRate(img.sectionBuf, texts);
    std::string levels;
    for (std::size_t n = 0; n < 8; ++n) {
        if (dpi.selected[n]) levels += (levels.empty() ? "" : ",") + texts.levels[n];
    }
    out.emplace_back("dpi", levels);
    out.emplace_back("dpi.current",
                     dpi.current ? texts.levels[static_cast<std::size_t>(dpi.current - 1)] : "");
    out.emplace_back("rate", dpi.rate ? std::to_string(rateHz(dpi.rate)) : "");
    if (const auto light = readLight(img.sectionBuf)) {
        out.emplace_back("light.mode", kLedModes[light->mode]);
        for (std::size_t phase = 0; phase < 4; ++phase)
            out.emplace_back(std::string("light.") + kPhases[phase],
                             std::to_string(light->steps[phase]));
        out.emplace_back("light.colour-mode", std::to_string(light->colourMode));
        out.emplace_back("light.colour", joined(light->colour1, ","));
        out.emplace_back("light.mouse-colour", joined(light->colour2, ","));
    } else {
        out.emplace_back("light", "mouse");
    }
    for (int mode = 1; mode <= 4; ++mode) {
        const auto m = keys::readFireKeyMode(img.sectionBuf, mode);
        out.emplace_back("firekey" + std::to_string(mode),
                         std::to_string(m.repeat) + "x" + std::to_string(m.delay));
    }
    keys::FireModeSelection modes;
    keys::takeFireModes(img, modes);
    out.emplace_back("fire-modes", joined(modes.modes(), ","));
    return out;
}

SettingsChange applySettings(image::EditorImage& img, const std::vector<Setting>& changes,
                             const DpiTexts& texts, bool macroMouse) {
    Edit edit{img,        texts,
              macroMouse, readDpiRate(img.sectionBuf, texts),
              false,      readLight(img.sectionBuf),
              false,      {},
              false,      false};
    keys::takeFireModes(img, edit.fireModes);
    const int rateBefore = edit.dpi.rate;
    // A value as `readSettings` gives it changes nothing, so its lines can be fed back.
    const std::vector<Setting> now = readSettings(img, texts);
    for (const auto& [name, value] : changes) {
        if (std::find(now.begin(), now.end(), Setting{name, value}) != now.end()) continue;
        if (std::string error = edit.apply(name, value); !error.empty())
            return {name + "=" + value + ": " + error};
    }
    const bool anyFireMode = std::any_of(
        edit.img.keyCodeTexts.begin(), edit.img.keyCodeTexts.end(), [](const auto& profile) {
            return std::any_of(profile.begin(), profile.end(), keys::isFireModeCode);
        });
    if (edit.fireModesGiven && !anyFireMode)
        return {
            "fire-modes: no button holds fire-mode, so the list would not be kept; give one "
            "the function fire-mode in the same set"};
    if (edit.dpiChanged) writeDpi(edit.img.sectionBuf, edit.dpi.selected, edit.dpi.current, texts);
    SettingsChange result;
    if (edit.dpi.rate != rateBefore) {
        int last = rateHz(rateBefore);
        result.rateChanged = writeRate(edit.img.sectionBuf, edit.dpi.rate, last);
    }
    if (edit.lightChanged) writeLight(edit.img.sectionBuf, *edit.light);
    if (edit.fireModesChanged) keys::writeFireModes(edit.img, edit.fireModes);
    img = std::move(edit.img);
    return result;
}

std::string settingNamesText() {
    return "profile1.button1 to profile2.button12 (profile 3 is read-only), dpi, dpi.current, "
           "rate, light.mode, light.off, light.raise, light.on, light.fall, light.colour-mode, "
           "light.colour, firekey1 to firekey4 and fire-modes";
}

std::vector<std::string> settingNames() {
    std::vector<std::string> names;
    for (int p = 1; p <= 2; ++p) {
        for (int b = 1; b <= 12; ++b)
            names.push_back("profile" + std::to_string(p) + ".button" + std::to_string(b));
    }
    for (const char* name : {"dpi", "dpi.current", "rate", "light.mode"}) names.emplace_back(name);
    for (const char* phase : kPhases) names.push_back(std::string("light.") + phase);
    for (const char* name : {"light.colour-mode", "light.colour", "firekey1", "firekey2",
                             "firekey3", "firekey4", "fire-modes"})
        names.emplace_back(name);
    return names;
}

}  // namespace settings
