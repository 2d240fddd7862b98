#include "image/save_os.h"

#include <windows.h>

#include <io.h>

namespace image {

bool flushToDisk(std::FILE* file) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && ::FlushFileBuffers(handle) != 0;
}

// A rename on NTFS is journalled with the folder; there is nothing to flush by hand.
void flushFolder(const std::string&) {}

// A new file takes its folder's permissions; Windows has no owner to carry over here.
void keepOwner(const std::string&, std::FILE*) {}

}  // namespace image
