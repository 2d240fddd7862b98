#include "image/profile_file.h"

#include "image/builtin_image.h"

namespace image {

std::optional<FileError> writeProfileFile(const std::string& path, const DataBuf& buf) {
    // The 32 macros follow the name area back to back in memory as in the file.
    static_assert(sizeof(buf.macros) == kMacroCount * kMacroSize);
    return writeRawFile(
        path, {buf.image, buf.macroNames,
               std::span<const Byte>(buf.macros.front().data(), kMacroCount * kMacroSize)});
}

std::optional<FileError> readProfileFile(const std::string& path, DataBuf& buf) {
    auto read = readRawFile(path, kFullImageSize);
    if (auto* error = std::get_if<FileError>(&read)) return *error;
    loadImageBytes(std::get<std::vector<Byte>>(read), buf);
    return std::nullopt;
}

}  // namespace image
