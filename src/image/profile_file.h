#pragma once
// Profile files: the composed image, the macro name area and the 32 macros as 34,048 raw bytes.
#include <array>
#include <optional>
#include <string>
#include <variant>

#include "image/image_types.h"
#include "image/raw_file.h"

namespace image {

// Writes image, names and macros. Nothing when all bytes went out.
std::optional<FileError> writeProfileFile(const std::string& path, const DataBuf& buf);

// What a profile must carry to be loaded: the identity and ModelId that identification accepts
// and the layout type of the connected mouse.
struct ProfileExpectation {
    DeviceIdentity identity;
    std::array<Byte, 2> modelId{};
    LayoutType layout = kLayoutNone;
};

// Reads and checks a whole profile file; the caller's buffers change only when it passes.
std::variant<DataBuf, FileError> readProfileFile(const std::string& path,
                                                 const ProfileExpectation& expected);

}  // namespace image
