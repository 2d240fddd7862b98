#include "skin/file_error_text.h"

namespace skin {

std::string fileErrorText(const image::FileError& error, const std::string& path, bool saving,
                          const keys::LanguageTexts& language) {
    using Kind = image::FileError::Kind;
    std::string reason = error.reason;
    std::string_view prefix = saving ? "Str024" : "Str029";
    switch (error.kind) {
        case Kind::Create:
            prefix = "Str024";
            break;
        case Kind::Open:
            prefix = "Str025";
            break;
        case Kind::NotAFile:
            reason = language.text("Str030");
            break;
        case Kind::FolderNotWritable:
            prefix = "Str024";
            reason = language.text("Str059");
            break;
        case Kind::InUse:
            reason = language.text("Str067");
            break;
        case Kind::Empty:
            reason = language.text("Str031");
            break;
        case Kind::WrongSize: {
            reason = language.text("Str032");
            const auto put = [&reason](std::string_view mark, std::size_t value) {
                if (const auto at = reason.find(mark); at != std::string::npos)
                    reason.replace(at, mark.size(), std::to_string(value));
            };
            put("%1", error.size);
            put("%2", error.expected);
            break;
        }
        case Kind::OtherModel:
            reason = language.text("Str033");
            break;
        case Kind::OtherLayout:
            reason = language.text("Str034");
            break;
    }
    return language.text(prefix) + " \"" + path + "\". " + reason;
}

}  // namespace skin
