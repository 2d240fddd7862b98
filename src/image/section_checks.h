#pragma once
// Default sections and the checks that repair damaged sections while an image is decomposed.
#include <vector>

#include "image/sections.h"

namespace image {

// The default bytes of a section (check byte included) for a device layout of 29 or 58. The
// variants differ only in ParameterA byte 1 (the layout) and so in its check byte; ParameterA
// carries the identity of the built-in image.
std::vector<Byte> defaultSection(const Section& section, LayoutType layout,
                                 DeviceIdentity builtInIdentity);

// What the checks need to know: the device layout type (kLayoutNone until a mouse has been
// identified) and the identity the ParameterA default carries.
struct CheckContext {
    LayoutType deviceLayout = kLayoutNone;
    DeviceIdentity builtInIdentity;
};

// Each check leaves its section with a valid check byte. A section whose check byte fails is
// replaced by its default for the device layout; with no device layout known (or one other than
// 29 and 58) its bytes stay and only the check byte is renewed.
void CheckParameterASection(SectionBuf& buf, const CheckContext& ctx);
// A failing ParameterB takes ParameterA down with it: both are replaced.
void CheckParameterBSection(SectionBuf& buf, const CheckContext& ctx);
void CheckFireKeySection(SectionBuf& buf, const CheckContext& ctx);
void CheckProfileSection(SectionBuf& buf, const CheckContext& ctx);

}  // namespace image
