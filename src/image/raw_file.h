#pragma once
// Files of raw bytes for profiles and macros: written whole or not at all, read only when they
// have exactly the size their kind of file has.
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "image/image_types.h"

namespace image {

struct FileError {
    enum class Kind {
        Create,             // could not be created or written; `reason` is the system's text
        Open,               // could not be opened or read; `reason` is the system's text
        NotAFile,           // a folder or a device, not a file
        FolderNotWritable,  // the file may be changed but its folder not: nothing was written
        Empty,
        WrongSize,    // `size` bytes where `expected` were needed
        OtherModel,   // a profile of another vendor id, product id or ModelId
        OtherLayout,  // a profile of another layout type than the connected mouse's
        InUse,        // another program holds the file and lets no one else at it
    };
    Kind kind;
    std::string reason;
    std::size_t size = 0;
    std::size_t expected = 0;
};

// Names are UTF-8 inside the program; these give and take them in the system's own form.
std::filesystem::path pathFromUtf8(const std::string& name);
std::string utf8FromPath(const std::filesystem::path& path);

// Whether something of that name is there: a file, a folder, or a link even to nothing.
bool fileExists(const std::string& path);

// Writes the pieces in order into a temporary file beside `path` and moves it over `path` only
// when every byte is written and flushed to the disk. A symbolic link is followed and stays a
// link; a file that is replaced keeps its mode (and owner where there are owners). A file the
// user may not write, or one whose folder refuses new files, is left as it is. On failure no
// partial file is left and an existing file keeps its contents. Nothing when all went out.
std::optional<FileError> writeRawFile(const std::string& path,
                                      std::initializer_list<std::span<const Byte>> pieces);

// The whole file, which must be a regular file of exactly `size` bytes.
std::variant<std::vector<Byte>, FileError> readRawFile(const std::string& path, std::size_t size);

// Copies the part of `bytes` at [offset, offset + target.size()) into target; the rest of the
// target keeps what it held.
void copyFrom(std::span<const Byte> bytes, std::size_t offset, std::span<Byte> target);

// The name a file is saved under: the chosen name with "." + extension unless it already ends
// so, in any case ("foo.BIN" stays, "foo.txt" becomes "foo.txt.bin").
std::string withExtension(const std::string& chosen, const std::string& extension);

}  // namespace image
