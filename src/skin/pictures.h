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

// Puts a picture on a control; controls that size themselves take the picture's size.
void showPicture(ui::Control& control, const std::string& name);

// The picture control of a button label: "Btn_" replaced by "Img_".
std::string pictureNameOf(const std::string& buttonName);

}  // namespace skin
