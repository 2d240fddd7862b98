#include "image/check_byte.h"

#include <numeric>

namespace image {

Byte checkByte(std::span<const Byte> covered) {
    const Byte sum = std::accumulate(covered.begin(), covered.end(), Byte{0},
                                     [](Byte acc, Byte b) { return static_cast<Byte>(acc + b); });
    return static_cast<Byte>(sum ^ 0x5A);
}

bool hasValidCheckByte(const SectionBuf& buf, const Section& section) {
    const auto bytes = sectionBytes(buf, section);
    return checkByte(bytes.first(section.coveredLength())) == bytes.back();
}

void refreshCheckByte(SectionBuf& buf, const Section& section) {
    const auto bytes = sectionBytes(buf, section);
    bytes.back() = checkByte(bytes.first(section.coveredLength()));
}

}  // namespace image
