#pragma once
// The skin pictures: decoded once from the program's resources and kept.
#include <map>
#include <optional>
#include <string>

#include "skin/png_decoder.h"
#include "ui/control.h"

namespace skin {

class PictureStore {
  public:
    // The decoded picture, or null when the resource is missing or damaged (said once on
    // stderr); the control then stays empty and the program goes on.
    const Picture* get(const std::string& name);
    std::optional<ui::Size> size(const std::string& name);

  private:
    std::map<std::string, std::optional<Picture>, std::less<>> cache_;
};

// The process-wide store the window and the renderer share.
PictureStore& pictures();

// Decodes the picture afresh into the caller's memory and keeps nothing, for a renderer that
// keeps its own image; false when the resource is missing or damaged (said on stderr).
bool decodePictureInto(const std::string& name, const PixelTarget& target);

// The pictures come in sets rendered from the same sources for 1x, 1.5x and 2x screens. A
// window at any scale takes the nearest set at or above it and scales it down smoothly; above 2x
// the 2x set is scaled up.
double pictureSetFor(double scale);

// The resource name of a picture in a set ("Name", "Name@1.5x", "Name@2x"); the 1x name when the
// set has no such picture, which is then scaled like any other.
std::string pictureInSet(const std::string& name, double set);

// A logical length in device pixels at a scale, rounded to whole pixels.
int deviceLength(int logical, double scale);

// Puts a picture on a control; controls that size themselves take the picture's size.
void showPicture(ui::Control& control, const std::string& name);

// The picture control of a button label: "Btn_" replaced by "Img_".
std::string pictureNameOf(const std::string& buttonName);

}  // namespace skin
