#include "image/save_os.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace image {

bool flushToDisk(std::FILE* file) {
    return ::fsync(::fileno(file)) == 0;
}

void flushFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void keepOwner(const std::string& replaced, std::FILE* file) {
    struct stat old {};
    if (::stat(replaced.c_str(), &old) != 0) return;
    // Only root may give a file away; anyone else already owns what they create.
    [[maybe_unused]] const int ignored = ::fchown(::fileno(file), old.st_uid, old.st_gid);
}

}  // namespace image
