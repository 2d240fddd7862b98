#include "image/raw_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "image/save_os.h"

namespace image {
namespace {

namespace fs = std::filesystem;

std::string systemText(int error, int fallback) {
    return std::strerror(error ? error : fallback);
}

// A name in the target's folder that no other file has. Short, so that a target whose name is
// as long as the system allows still gets one.
fs::path temporaryBeside(const fs::path& target) {
    std::random_device random;
    for (;;) {
        const fs::path candidate =
            target.parent_path() / (".quorvex-" + std::to_string(random() % 1000000) + ".tmp");
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec))) return candidate;
    }
}

FileError openError(FileError::Kind kind, const OpenFailure& failure) {
    return FileError{failure.inUse ? FileError::Kind::InUse : kind, failure.reason};
}

// The file a save lands in: symbolic links are followed to their target, so that they stay links
// and the file they name is the one that changes.
std::variant<fs::path, FileError> finalTarget(fs::path path) {
    constexpr int kMostLinks = 40;  // as many as the system follows before it calls it a loop
    for (int links = 0; links < kMostLinks; ++links) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) return FileError{FileError::Kind::Create, ec.message()};
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return FileError{FileError::Kind::Create,
                     std::make_error_code(std::errc::too_many_symbolic_link_levels).message()};
}

}  // namespace

fs::path pathFromUtf8(const std::string& name) {
    return fs::path(std::u8string(name.begin(), name.end()));
}

std::string utf8FromPath(const fs::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    try {
        return fs::exists(fs::symlink_status(pathFromUtf8(path), ec));
    } catch (const std::exception&) {
        return false;  // a name the system cannot even spell names nothing
    }
}

std::optional<FileError> writeRawFile(const std::string& path,
                                      std::initializer_list<std::span<const Byte>> pieces) {
    fs::path name;
    try {
        name = pathFromUtf8(path);
    } catch (const std::exception& e) {
        return FileError{FileError::Kind::Create, e.what()};
    }
    const auto resolved = finalTarget(name);
    if (const auto* error = std::get_if<FileError>(&resolved)) return *error;
    const fs::path& target = std::get<fs::path>(resolved);
    std::error_code ec;
    const fs::file_status old = fs::status(target, ec);
    const bool replacing = fs::exists(old);
    // Saving over a folder or a device would replace it, not fill it.
    if (replacing && !fs::is_regular_file(old)) return FileError{FileError::Kind::NotAFile, {}};
    if (replacing) {
        // A file the user may not change is not replaced behind their back, though its folder
        // would let us. Opened for appending it is tested without a byte changed.
        // A file another program holds shut is found here too, before anything is written.
        OpenFailure failure;
        std::FILE* probe = openFile(target, "ab", failure);
        if (!probe) return openError(FileError::Kind::Create, failure);
        std::fclose(probe);
    }
    const fs::path temporary = temporaryBeside(target);
    OpenFailure failure;
    std::FILE* out = openFile(temporary, "wb", failure);
    if (!out) {
        // Writing into the file itself could leave half of it after a crash; say why instead.
        if (replacing && (failure.error == EACCES || failure.error == EPERM))
            return FileError{FileError::Kind::FolderNotWritable, failure.reason};
        return openError(FileError::Kind::Create, failure);
    }
    bool written = true;
    if (replacing) {
        keepOwner(target, out);
        fs::permissions(temporary, old.permissions(), ec);
        written = !ec;
    }
    for (const auto& piece : pieces) {
        written = written && std::fwrite(piece.data(), 1, piece.size(), out) == piece.size();
    }
    written = written && std::fflush(out) == 0 && flushToDisk(out);
    const int writeError = errno;
    written = std::fclose(out) == 0 && written;
    if (written) {
        fs::rename(temporary, target, ec);
        if (!ec) {
            flushFolder(target.parent_path());
            return std::nullopt;
        }
    }
    const std::string reason = ec ? ec.message() : systemText(writeError, EIO);
    fs::remove(temporary, ec);
    return FileError{FileError::Kind::Create, reason};
}

std::variant<std::vector<Byte>, FileError> readRawFile(const std::string& path, std::size_t size) {
    fs::path source;
    try {
        source = pathFromUtf8(path);
    } catch (const std::exception& e) {
        return FileError{FileError::Kind::Open, e.what()};
    }
    std::error_code ec;
    const fs::file_status status = fs::status(source, ec);
    if (ec) return FileError{FileError::Kind::Open, ec.message()};
    if (!fs::is_regular_file(status)) return FileError{FileError::Kind::NotAFile, {}};
    OpenFailure failure;
    std::FILE* in = openFile(source, "rb", failure);
    if (!in) return openError(FileError::Kind::Open, failure);
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

std::string withExtension(const std::string& chosen, const std::string& extension) {
    const std::string suffix = "." + extension;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (chosen.size() >= suffix.size() &&
        std::equal(suffix.begin(), suffix.end(), chosen.end() - std::ptrdiff_t(suffix.size()),
                   [&](char a, char b) { return lower(a) == lower(b); }))
        return chosen;
    return chosen + suffix;
}

}  // namespace image
