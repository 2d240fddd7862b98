#include "image/sections.h"

#include <algorithm>

namespace image {

std::size_t dataBufOffset(const Section& section, LayoutType layout) {
    if (layout != kLayout29) return section.offset;
    if (section.offset == kReservedBlock.offset) return 32;
    if (section.offset == kModelId.offset) return 83;
    if (section.offset == kEFTControl.offset) return 85;
    if (section.offset == kUserBreath.offset) return 89;
    return section.offset;
}

void copyToSectionBuf(const std::array<Byte, kImageSize>& image, SectionBuf& buf,
                      const Section& section, LayoutType layout) {
    const auto from = image.begin() + static_cast<std::ptrdiff_t>(dataBufOffset(section, layout));
    std::copy_n(from, section.length, buf.begin() + static_cast<std::ptrdiff_t>(section.offset));
}

void copyToDataBuf(const SectionBuf& buf, std::array<Byte, kImageSize>& image,
                   const Section& section, LayoutType layout) {
    const auto from = buf.begin() + static_cast<std::ptrdiff_t>(section.offset);
    std::copy_n(from, section.length,
                image.begin() + static_cast<std::ptrdiff_t>(dataBufOffset(section, layout)));
}

}  // namespace image
