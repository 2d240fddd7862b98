#pragma once
// The pure parts of the assignment editor: storing a picked code, the exchange among the
// three basic buttons, and one step of a scrolling button label.
#include <array>
#include <string>

#include "image/image_types.h"

namespace keys {

// Stores a code text for (profile 1-3, button 1-12): the key code text, and its four bytes in
// the Profile section of SectionBuf. The Profile check byte is left to the composer. A text
// that is not a key code changes nothing.
void storeKeyCode(image::EditorImage& img, int profile, int button, const std::string& codeText);

// Buttons 1-3 hold Left, Right and Middle one each: giving button `button` (1-3) the code
// `picked` hands its old code to whichever other of the three held `picked`.
std::array<std::string, 3> exchangeBasicFunction(std::array<std::string, 3> codes, int button,
                                                 const std::string& picked);

// One step of a scrolling label: the first character (UTF-8) moves to the end, and on the
// first step four blanks go between the rest and it.
std::string scrollCaption(const std::string& caption, bool firstStep);

}  // namespace keys
