#include "image/builtin_image.h"

#include <algorithm>
#include <optional>

#include "image/raw_file.h"
#include "image/sections.h"
#include "res/resources.h"

namespace image {
void loadImageBytes(std::span<const Byte> bytes, DataBuf& target) {
    copyFrom(bytes, 0, target.image);
    copyFrom(bytes, kImageSize, target.macroNames);
    for (std::size_t i = 0; i < kMacroCount; ++i) {
        copyFrom(bytes, kImageSize + kMacroNameAreaSize + i * kMacroSize, target.macros[i]);
    }
}

bool LoadBuiltInImage(DataBuf& target) {
    const auto bytes = res::findData(kBuiltInImageResource);
    if (!bytes) return false;
    loadImageBytes(*bytes, target);
    return true;
}

DeviceIdentity identityOf(const std::array<Byte, kImageSize>& image) {
    return {static_cast<std::uint16_t>(image[2] * 256 + image[3]),
            static_cast<std::uint16_t>(image[4] * 256 + image[5])};
}

std::optional<std::array<Byte, 2>> modelIdOf(const std::array<Byte, kImageSize>& image) {
    const LayoutType layout = image[1];
    if (layout != kLayout29 && layout != kLayout58) return std::nullopt;
    const std::size_t at = dataBufOffset(kModelId, layout);
    return std::array<Byte, 2>{image[at], image[at + 1]};
}

}  // namespace image
