#pragma once
// Profile files: the composed image, the macro name area and the 32 macros as 34,048 raw bytes.
#include <optional>
#include <string>

#include "image/image_types.h"

namespace image {

// The name a profile is saved under: the chosen name with ".bin" unless it already ends so.
std::string profileFileName(const std::string& chosen);

struct FileError {
    bool create;         // true: the file could not be created or written; false: not opened
    std::string reason;  // the system's text
};

// Writes image, names and macros. Nothing when all bytes went out.
std::optional<FileError> writeProfileFile(const std::string& path, const DataBuf& buf);
// Reads what the file holds into the buffers (a short file leaves the rest as it was).
std::optional<FileError> readProfileFile(const std::string& path, DataBuf& buf);

}  // namespace image
