#include "image/save_os.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace image {

std::FILE* openFile(const std::filesystem::path& path, const char* mode, OpenFailure& failure) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (!file) {
        failure.error = errno ? errno : EIO;
        failure.reason = std::strerror(failure.error);
        failure.inUse = failure.error == ETXTBSY;
    }
    return file;
}

bool flushToDisk(std::FILE* file) {
    return ::fsync(::fileno(file)) == 0;
}

void flushFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void keepOwner(const std::filesystem::path& replaced, std::FILE* file) {
    struct stat old {};
    if (::stat(replaced.c_str(), &old) != 0) return;
    // Only root may give a file away; anyone else already owns what they create.
    [[maybe_unused]] const int ignored = ::fchown(::fileno(file), old.st_uid, old.st_gid);
}

std::string environmentText(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace image
