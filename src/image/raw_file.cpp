#include "image/raw_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace image {
namespace {

namespace fs = std::filesystem;

std::string systemText(int error, int fallback) {
    return std::strerror(error ? error : fallback);
}

// A name beside the target that no other file has.
fs::path temporaryBeside(const fs::path& target) {
    std::random_device random;
    for (;;) {
        fs::path candidate = target;
        candidate += ".tmp-" + std::to_string(random() % 1000000);
        std::error_code ec;
        if (!fs::exists(candidate, ec)) return candidate;
    }
}

}  // namespace

std::optional<FileError> writeRawFile(const std::string& path,
                                      std::initializer_list<std::span<const Byte>> pieces) {
    const fs::path target(path);
    std::error_code ec;
    // Saving over a folder or a device would replace it, not fill it.
    if (fs::exists(target, ec) && !fs::is_regular_file(target, ec))
        return FileError{FileError::Kind::NotAFile, {}};
    const fs::path temporary = temporaryBeside(target);
    errno = 0;
    std::FILE* out = std::fopen(temporary.string().c_str(), "wb");
    if (!out) return FileError{FileError::Kind::Create, systemText(errno, EIO)};
    bool written = true;
    for (const auto& piece : pieces) {
        written = written && std::fwrite(piece.data(), 1, piece.size(), out) == piece.size();
    }
    written = written && std::fflush(out) == 0;
    const int writeError = errno;
    written = std::fclose(out) == 0 && written;
    if (written) {
        fs::rename(temporary, target, ec);
        if (!ec) return std::nullopt;
    }
    const std::string reason = ec ? ec.message() : systemText(writeError, EIO);
    fs::remove(temporary, ec);
    return FileError{FileError::Kind::Create, reason};
}

std::variant<std::vector<Byte>, FileError> readRawFile(const std::string& path, std::size_t size) {
    const fs::path source(path);
    std::error_code ec;
    const fs::file_status status = fs::status(source, ec);
    if (ec) return FileError{FileError::Kind::Open, ec.message()};
    if (!fs::is_regular_file(status)) return FileError{FileError::Kind::NotAFile, {}};
    errno = 0;
    std::FILE* in = std::fopen(source.string().c_str(), "rb");
    if (!in) return FileError{FileError::Kind::Open, systemText(errno, ENOENT)};
    // One byte more than needed tells a longer file from one of the right size.
    std::vector<Byte> bytes(size + 1);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), in);
    const bool failed = std::ferror(in) != 0;
    const int readError = errno;
    std::fclose(in);
    if (failed) return FileError{FileError::Kind::Open, systemText(readError, EIO)};
    if (got == 0) return FileError{FileError::Kind::Empty, {}};
    if (got != size) {
        const std::size_t actual = fs::file_size(source, ec);
        return FileError{FileError::Kind::WrongSize, {}, ec ? got : actual, size};
    }
    bytes.resize(size);
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
