// Skin pictures: any bytes either decode to a picture whose pixels fill it exactly or are refused.
#include <variant>

#include "fuzz_check.h"
#include "skin/png_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto result = skin::decodePng({data, size});
    if (const auto* picture = std::get_if<skin::Picture>(&result)) {
        fuzzing::require(picture->width > 0 && picture->height > 0);
        fuzzing::require(picture->width <= skin::kMaxPictureSide &&
                         picture->height <= skin::kMaxPictureSide);
        fuzzing::require(picture->rgba.size() ==
                         std::size_t(picture->width) * std::size_t(picture->height) * 4);
        // The header read alone gives the size the decoder found.
        fuzzing::require(skin::pngDimensions({data, size}) ==
                         std::pair{picture->width, picture->height});
    } else {
        fuzzing::require(!std::get<skin::DecodeError>(result).message.empty());
    }
    return 0;
}
