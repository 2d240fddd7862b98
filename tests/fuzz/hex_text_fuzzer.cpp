// Hex text, the form key codes and macros travel in: what reads back writes back the same.
#include <algorithm>
#include <cctype>
#include <string_view>

#include "fuzz_check.h"
#include "image/hex_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto bytes = image::fromHexText(text)) {
        std::string upper(text);
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return char(std::toupper(c)); });
        fuzzing::require(image::toHexText(*bytes) == upper);
    }
    const auto back = image::fromHexText(image::toHexText({data, size}));
    fuzzing::require(back && std::equal(back->begin(), back->end(), data, data + size));
    return 0;
}
