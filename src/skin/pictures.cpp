#include "skin/pictures.h"

#include <cstdio>

#include "res/resources.h"

namespace skin {

bool decodePictureInto(const std::string& name, const PixelTarget& target) {
    if (const auto bytes = res::findData(name)) {
        const auto error = decodePngInto(*bytes, target);
        if (!error) return true;
        std::fprintf(stderr, "picture %s: %s\n", name.c_str(), error->message.c_str());
    } else if (!name.empty()) {
        std::fprintf(stderr, "picture %s: no such resource\n", name.c_str());
    }
    return false;
}

const Picture* PictureStore::get(const std::string& name) {
    auto it = cache_.find(name);
    if (it == cache_.end()) {
        Picture pic;
        std::optional<Picture> kept;
        if (decodePictureInto(name, into(pic))) kept = std::move(pic);
        it = cache_.emplace(name, std::move(kept)).first;
    }
    return it->second ? &*it->second : nullptr;
}

std::optional<ui::Size> PictureStore::size(const std::string& name) {
    // A decoded picture knows its size; otherwise the header tells it, and the picture is
    // decoded only when it is first painted (most controls' pictures never are at start-up).
    if (const auto it = cache_.find(name); it != cache_.end()) {
        if (!it->second) return std::nullopt;
        return ui::Size{it->second->width, it->second->height};
    }
    const auto bytes = res::findData(name);
    const auto dimensions = bytes ? pngDimensions(*bytes) : std::nullopt;
    if (!dimensions) return get(name) ? size(name) : std::nullopt;  // says why, once
    return ui::Size{dimensions->first, dimensions->second};
}

PictureStore& pictures() {
    static PictureStore store;
    return store;
}

double pictureSetFor(double scale) {
    // A hair of tolerance: a scale computed as 144 / 96 must land on its own set.
    constexpr double kTolerance = 1e-3;
    if (scale <= 1.0 + kTolerance) return 1.0;
    if (scale <= 1.5 + kTolerance) return 1.5;
    return 2.0;
}

std::string pictureInSet(const std::string& name, double set) {
    if (set <= 1.0 || name.empty()) return name;
    std::string scaled = name + (set <= 1.5 ? "@1.5x" : "@2x");
    return res::findData(scaled) ? scaled : name;
}

int deviceLength(int logical, double scale) {
    const double device = logical * scale;
    return static_cast<int>(device < 0 ? device - 0.5 : device + 0.5);
}

void showPicture(ui::Control& control, const std::string& name) {
    control.setPicture(name, pictures().size(name));
}

std::string pictureNameOf(const std::string& buttonName) {
    if (buttonName.size() < 4) return buttonName;
    return "Img_" + buttonName.substr(4);
}

}  // namespace skin
