// Export and import of one macro or all macros.
#include "app/main_form.h"
#include "image/raw_file.h"
#include "macros/macro_model.h"
#include "skin/file_error_text.h"
#include "skin/pictures.h"

namespace app {
namespace {

const ui::FileDialog kSaveDialog{"SaveFile (*.bin)", "bin"};
const ui::FileDialog kLoadDialog{"LoadFile (*.bin)", "bin"};
constexpr std::size_t kOneMacroFile = macros::kRecordSize + macros::kBlockSize;  // 1056
constexpr std::size_t kAllMacrosFile =
    image::kMacroNameAreaSize + image::kMacroCount * image::kMacroSize;  // 33,792

}  // namespace

void TForm1::fileError(const image::FileError& error, const std::string& path, bool saving) {
    modal([&] { return host_.showMessage(skin::fileErrorText(error, path, saving, language_)); });
}

void TForm1::Btn_ExportOneClick() {
    const int slot = selectedSlot();
    if (slot < 0) return;
    skin::showPressed(*this, "Btn_ExportOne");
    const auto chosen = modal([&] { return host_.saveFileName(kSaveDialog); });
    if (!chosen) return;
    UIToMacroName();  // the name as the list shows it
    const auto s = static_cast<std::size_t>(slot);
    const std::string path = image::withBinSuffix(*chosen);
    const std::span<const image::Byte> record(
        image_.dataBuf.macroNames.data() + s * macros::kRecordSize, macros::kRecordSize);
    if (const auto error = image::writeRawFile(path, {record, image_.dataBuf.macros[s]}))
        fileError(*error, path, true);
}

void TForm1::Btn_ExportClick() {
    skin::showPressed(*this, "Btn_Export");
    const auto chosen = modal([&] { return host_.saveFileName(kSaveDialog); });
    if (!chosen) return;
    UIToMacroName();
    const std::string path = image::withBinSuffix(*chosen);
    const std::span<const image::Byte> blocks(image_.dataBuf.macros.front().data(),
                                              image::kMacroCount * image::kMacroSize);
    if (const auto error = image::writeRawFile(path, {image_.dataBuf.macroNames, blocks}))
        fileError(*error, path, true);
}

void TForm1::Btn_ImportOneClick() {
    const int slot = selectedSlot();
    if (slot < 0) return;
    skin::showPressed(*this, "Btn_ImportOne");
    const auto chosen = modal([&] { return host_.openFileName(kLoadDialog); });
    if (!chosen) return;
    auto read = image::readRawFile(*chosen, kOneMacroFile);
    if (const auto* error = std::get_if<image::FileError>(&read)) {
        fileError(*error, *chosen, false);
        return;
    }
    const auto& bytes = std::get<std::vector<image::Byte>>(read);
    UIToMacroName();  // renames of the other slots stay
    const auto s = static_cast<std::size_t>(slot);
    image::copyFrom(bytes, 0,
                    std::span<image::Byte>(image_.dataBuf.macroNames)
                        .subspan(s * macros::kRecordSize, macros::kRecordSize));
    image::copyFrom(bytes, macros::kRecordSize, image_.dataBuf.macros[s]);
    RefreshMacroName();
    LB_MacroNameClick();
}

void TForm1::Btn_ImportClick() {
    skin::showPressed(*this, "Btn_Import");
    const auto chosen = modal([&] { return host_.openFileName(kLoadDialog); });
    if (!chosen) return;
    auto read = image::readRawFile(*chosen, kAllMacrosFile);
    if (const auto* error = std::get_if<image::FileError>(&read)) {
        fileError(*error, *chosen, false);
        return;
    }
    const auto& bytes = std::get<std::vector<image::Byte>>(read);
    image::copyFrom(bytes, 0, image_.dataBuf.macroNames);
    for (std::size_t k = 0; k < image::kMacroCount; ++k) {
        image::copyFrom(bytes, image::kMacroNameAreaSize + k * image::kMacroSize,
                        image_.dataBuf.macros[k]);
    }
    RefreshMacroName();
    LB_MacroNameClick();
}

}  // namespace app
