#include "image/builtin_image.h"

#include <algorithm>
#include <optional>

#include "image/sections.h"
#include "res/resources.h"

namespace image {
namespace {

// Copies the part of `bytes` that falls at [offset, offset + target.size()) into target.
void copyRegion(std::span<const Byte> bytes, std::size_t offset, std::span<Byte> target) {
    if (offset >= bytes.size()) return;
    const std::size_t n = std::min(target.size(), bytes.size() - offset);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), n, target.begin());
}

}  // namespace

void loadImageBytes(std::span<const Byte> bytes, DataBuf& target) {
    copyRegion(bytes, 0, target.image);
    copyRegion(bytes, kImageSize, target.macroNames);
    for (std::size_t i = 0; i < kMacroCount; ++i) {
        copyRegion(bytes, kImageSize + kMacroNameAreaSize + i * kMacroSize, target.macros[i]);
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
