#pragma once
// What saving and loading need from the operating system beyond standard C++: one file per
// system in image/linux and image/windows. Paths arrive as std::filesystem::path, so that on
// Windows they reach the system in UTF-16 whatever their characters.
#include <cstdio>
#include <filesystem>
#include <string>

namespace image {

struct OpenFailure {
    int error = 0;       // an errno value
    std::string reason;  // the system's own text, UTF-8
    bool inUse = false;  // another program holds the file and shares it with no one
};

// std::fopen by a name in the system's own form.
std::FILE* openFile(const std::filesystem::path& path, const char* mode, OpenFailure& failure);

// Forces the written bytes of an open file onto the disk, so that the rename that follows can
// never leave a name pointing at data that was lost in a crash.
bool flushToDisk(std::FILE* file);

// Makes a rename in `folder` itself durable where the system needs that; best effort.
void flushFolder(const std::filesystem::path& folder);

// Gives the open new file the owner of the file it is about to replace, where the system has
// owners and we may give them; best effort.
void keepOwner(const std::filesystem::path& replaced, std::FILE* file);

// An environment variable as UTF-8; empty when it is not set.
std::string environmentText(const char* name);

}  // namespace image
