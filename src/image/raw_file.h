#pragma once
// Files of raw bytes for profiles and macros: written piece by piece, read as far as needed.
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "image/image_types.h"

namespace image {

struct FileError {
    bool create;         // true: the file could not be created or written; false: not opened
    std::string reason;  // the system's text
};

// Creates (or empties) the file and writes the pieces in order. Nothing when all went out.
std::optional<FileError> writeRawFile(const std::string& path,
                                      std::initializer_list<std::span<const Byte>> pieces);

// At most `limit` bytes from the start of the file.
std::variant<std::vector<Byte>, FileError> readRawFile(const std::string& path, std::size_t limit);

// Copies the part of `bytes` at [offset, offset + target.size()) into target; the rest of the
// target keeps what it held.
void copyFrom(std::span<const Byte> bytes, std::size_t offset, std::span<Byte> target);

// The name a file is saved under: the chosen name with ".bin" unless it already ends so.
std::string withBinSuffix(const std::string& chosen);

}  // namespace image
