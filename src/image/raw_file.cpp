#include "image/raw_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace image {

std::optional<FileError> writeRawFile(const std::string& path,
                                      std::initializer_list<std::span<const Byte>> pieces) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return FileError{true, std::strerror(errno ? errno : EIO)};
    for (const auto& piece : pieces) {
        out.write(reinterpret_cast<const char*>(piece.data()),
                  static_cast<std::streamsize>(piece.size()));
    }
    out.close();
    if (!out) return FileError{true, std::strerror(errno ? errno : EIO)};
    return std::nullopt;
}

std::variant<std::vector<Byte>, FileError> readRawFile(const std::string& path, std::size_t limit) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return FileError{false, std::strerror(errno ? errno : ENOENT)};
    std::vector<Byte> bytes(limit);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void copyFrom(std::span<const Byte> bytes, std::size_t offset, std::span<Byte> target) {
    if (offset >= bytes.size()) return;
    const std::size_t n = std::min(target.size(), bytes.size() - offset);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), n, target.begin());
}

std::string withBinSuffix(const std::string& chosen) {
    if (chosen.size() >= 4) {
        std::string tail = chosen.substr(chosen.size() - 4);
        for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (tail == ".bin") return chosen;
    }
    return chosen + ".bin";
}

}  // namespace image
