#pragma once
// The check byte of a section: the 8-bit sum of the bytes it covers, XOR 0x5A.
#include <span>

#include "image/sections.h"

namespace image {

Byte checkByte(std::span<const Byte> covered);

// True when the last byte of the section matches the bytes before it.
bool hasValidCheckByte(const SectionBuf& buf, const Section& section);

// Recomputes and stores the section's check byte.
void refreshCheckByte(SectionBuf& buf, const Section& section);

}  // namespace image
