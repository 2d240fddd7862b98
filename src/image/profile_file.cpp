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

std::variant<DataBuf, FileError> readProfileFile(const std::string& path,
                                                 const ProfileExpectation& expected) {
    auto read = readRawFile(path, kFullImageSize);
    if (auto* error = std::get_if<FileError>(&read)) return *error;
    DataBuf buf;
    loadImageBytes(std::get<std::vector<Byte>>(read), buf);
    // The file's ModelId sits where its own layout puts it; an unknown layout has none.
    const auto modelId = modelIdOf(buf.image);
    if (identityOf(buf.image) != expected.identity || !modelId || *modelId != expected.modelId)
        return FileError{FileError::Kind::OtherModel, {}};
    if (buf.image[1] != expected.layout) return FileError{FileError::Kind::OtherLayout, {}};
    return buf;
}

}  // namespace image
