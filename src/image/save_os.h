#pragma once
// What a save needs from the operating system beyond standard C++: one file per system in
// image/linux and image/windows.
#include <cstdio>
#include <string>

namespace image {

// Forces the written bytes of an open file onto the disk, so that the rename that follows can
// never leave a name pointing at data that was lost in a crash.
bool flushToDisk(std::FILE* file);

// Makes a rename in `folder` itself durable where the system needs that; best effort.
void flushFolder(const std::string& folder);

// Gives the open new file the owner of the file it is about to replace, where the system has
// owners and we may give them; best effort.
void keepOwner(const std::string& replaced, std::FILE* file);

}  // namespace image
