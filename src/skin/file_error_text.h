#pragma once
// The message that tells the user why a file could not be saved or loaded, in the language of
// the given table: "<what failed> "<path>". <why>".
#include <string>

#include "image/raw_file.h"
#include "keys/key_naming.h"

namespace skin {

std::string fileErrorText(const image::FileError& error, const std::string& path, bool saving,
                          const keys::LanguageTexts& language);

}  // namespace skin
