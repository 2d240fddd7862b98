#include "image/profile_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "image/builtin_image.h"

namespace image {

std::string profileFileName(const std::string& chosen) {
    const auto endsWithBin = [](const std::string& s) {
        if (s.size() < 4) return false;
        std::string tail = s.substr(s.size() - 4);
        for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        return tail == ".bin";
    };
    return endsWithBin(chosen) ? chosen : chosen + ".bin";
}

std::optional<FileError> writeProfileFile(const std::string& path, const DataBuf& buf) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return FileError{true, std::strerror(errno ? errno : EIO)};
    const auto write = [&out](const auto& bytes) {
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    };
    write(buf.image);
    write(buf.macroNames);
    for (const Macro& m : buf.macros) write(m);
    out.close();
    if (!out) return FileError{true, std::strerror(errno ? errno : EIO)};
    return std::nullopt;
}

std::optional<FileError> readProfileFile(const std::string& path, DataBuf& buf) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return FileError{false, std::strerror(errno ? errno : ENOENT)};
    // Never more than a profile holds: a huge file is read only as far as that.
    std::vector<Byte> bytes(kFullImageSize);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    loadImageBytes(bytes, buf);
    return std::nullopt;
}

}  // namespace image
