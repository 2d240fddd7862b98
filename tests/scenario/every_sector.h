#pragma once
// Makes the editor's macro names and every macro differ from what the mouse holds, in bytes no
// page shows (the last of the name area and of each macro block), so that the next write erases
// and writes every sector, as the full write does.
#include "image/image_types.h"

namespace scenario {

inline void differInEverySector(image::DataBuf& buf) {
    buf.macroNames.back() ^= 0x01;
    for (auto& macro : buf.macros) macro.back() ^= 0x01;
}

}  // namespace scenario
