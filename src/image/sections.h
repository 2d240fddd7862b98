#pragma once
// Where the sections lie: in SectionBuf (the layout-58 order) and in DataBuf of either layout.
#include <cstddef>
#include <span>

#include "image/image_types.h"

namespace image {

struct Section {
    std::size_t offset;  // in SectionBuf, and in DataBuf for layout 58
    std::size_t length;
    bool hasCheckByte;
    // The bytes the check byte covers; the check byte follows them.
    constexpr std::size_t coveredLength() const { return hasCheckByte ? length - 1 : length; }
};

inline constexpr Section kParameterA{0, 27, true};
inline constexpr Section kParameterB{27, 5, true};
inline constexpr Section kUserBreath{32, 4, true};
inline constexpr Section kReservedBlock{36, 51, false};
inline constexpr Section kModelId{87, 2, false};
inline constexpr Section kEFTControl{89, 4, true};
inline constexpr Section kFireKey{93, 17, true};
inline constexpr Section kProfile{110, 145, true};  // 144 code bytes and the check byte

// The report rate in SectionBuf (ParameterB byte 1): 1 = 1000 Hz, 2 = 500 Hz.
inline constexpr std::size_t kReportRateByte = 28;

// Offset of a section in DataBuf for a layout. Layout 29 stores ReservedBlock, ModelId,
// EFTControl and UserBreath in another order between offsets 32 and 92. Any layout other than
// 29, including "not known", is placed as layout 58: the middle of the image is not defined for
// other layouts, and the layout-58 order is the one SectionBuf and the built-in image use.
std::size_t dataBufOffset(const Section& section, LayoutType layout);

inline std::span<Byte> sectionBytes(SectionBuf& buf, const Section& s) {
    return std::span<Byte>(buf).subspan(s.offset, s.length);
}
inline std::span<const Byte> sectionBytes(const SectionBuf& buf, const Section& s) {
    return std::span<const Byte>(buf).subspan(s.offset, s.length);
}

// Copies a section between DataBuf (at its place in the given layout) and SectionBuf.
void copyToSectionBuf(const std::array<Byte, kImageSize>& image, SectionBuf& buf,
                      const Section& section, LayoutType layout);
void copyToDataBuf(const SectionBuf& buf, std::array<Byte, kImageSize>& image,
                   const Section& section, LayoutType layout);

}  // namespace image
