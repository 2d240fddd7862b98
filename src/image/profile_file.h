#pragma once
// Profile files: the composed image, the macro name area and the 32 macros as 34,048 raw bytes.
#include <optional>
#include <string>

#include "image/image_types.h"
#include "image/raw_file.h"

namespace image {

// Writes image, names and macros. Nothing when all bytes went out.
std::optional<FileError> writeProfileFile(const std::string& path, const DataBuf& buf);
// Reads what the file holds into the buffers (a short file leaves the rest as it was).
std::optional<FileError> readProfileFile(const std::string& path, DataBuf& buf);

}  // namespace image
