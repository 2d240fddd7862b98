#pragma once
// The Profile section as 36 key code texts, one per profile and button.
#include "image/image_types.h"

namespace image {

void clearKeyCodeTexts(KeyCodeTexts& texts);

// Renders every code of the Profile section of `buf` as eight upper-case hex digits.
void renderKeyCodeTexts(const SectionBuf& buf, KeyCodeTexts& texts);

// Offset in SectionBuf of the code of (profile 0-2, button 0-11).
std::size_t keyCodeOffset(std::size_t profile, std::size_t button);

}  // namespace image
