#include "image/save_os.h"

#include <windows.h>

#include <io.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "image/utf_text.h"

namespace image {
namespace {

std::string utf8(const wchar_t* text, std::size_t length) {
    return utf16ToUtf8(std::vector<char16_t>(text, text + length));
}

// The system's text for an error code, in the user's language, without the trailing newline.
std::string systemText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result = length ? utf8(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                               result.back() == ' ' || result.back() == '.'))
        result.pop_back();
    return result;
}

}  // namespace

std::FILE* openFile(const std::filesystem::path& path, const char* mode, OpenFailure& failure) {
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    SetLastError(ERROR_SUCCESS);
    errno = 0;
    std::FILE* file = ::_wfopen(path.c_str(), wideMode.c_str());
    if (!file) {
        const DWORD code = GetLastError();
        failure.error = errno ? errno : EIO;
        failure.inUse = code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
        failure.reason = code != ERROR_SUCCESS ? systemText(code) : std::strerror(failure.error);
    }
    return file;
}

bool flushToDisk(std::FILE* file) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && ::FlushFileBuffers(handle) != 0;
}

// A rename on NTFS is journalled with the folder; there is nothing to flush by hand.
void flushFolder(const std::filesystem::path&) {}

// A new file takes its folder's permissions; Windows has no owner to carry over here.
void keepOwner(const std::filesystem::path&, std::FILE*) {}

// The C library's getenv gives the ANSI code page's bytes, which lose every other character.
std::string environmentText(const char* name) {
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    std::vector<wchar_t> value(MAX_PATH);
    for (;;) {
        const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(),
                                                     static_cast<DWORD>(value.size()));
        if (length == 0) return {};
        if (length < value.size()) return utf8(value.data(), length);
        value.resize(length);
    }
}

}  // namespace image
