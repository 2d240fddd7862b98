// Export and import of one macro or all macros.
#include "app/main_form.h"
#include "image/raw_file.h"
#include "macros/macro_file_check.h"
#include "macros/macro_model.h"
#include "skin/file_error_text.h"
#include "skin/pictures.h"

namespace app {
namespace {

const ui::FileDialog kSaveDialog{"SaveFile (*.bin)", "bin", {}, {}};
const ui::FileDialog kLoadDialog{"LoadFile (*.bin)", "bin", {}, {}};
constexpr std::size_t kBlock = macros::kBlockSize;
constexpr std::size_t kOneMacroFile = macros::kRecordSize + macros::kBlockSize;  // 1056
constexpr std::size_t kAllMacrosFile =
    image::kMacroNameAreaSize + image::kMacroCount * image::kMacroSize;  // 33,792

std::span<const image::Byte> piece(const std::vector<image::Byte>& bytes, std::size_t offset,
                                   std::size_t size) {
    return std::span<const image::Byte>(bytes).subspan(offset, size);
}

std::string withValue(std::string text, const std::string& value) {
    if (const auto at = text.find("%1"); at != std::string::npos) text.replace(at, 2, value);
    return text;
}

std::string withValue(const std::string& text, std::size_t value) {
    return withValue(text, std::to_string(value));
}

}  // namespace

void TForm1::fileError(const image::FileError& error, const std::string& path, bool saving) {
    modal([&] { return host_.showMessage(skin::fileErrorText(error, path, saving, language_)); });
}

std::optional<std::string> TForm1::saveTarget(const std::string& chosen,
                                              const ui::FileDialog& dialog) {
    std::string path = image::withExtension(chosen, dialog.defaultExtension);
    // The dialog asked about the name as chosen, not about the one it becomes.
    if (path != chosen && image::fileExists(path) &&
        !modal([&] { return host_.askYesNo(withValue(languageText("Str066"), path)); }))
        return std::nullopt;
    return path;
}

void TForm1::damagedMacroFile(const std::string& path, int slot,
                              const macros::MacroDamage& damage) {
    using Kind = macros::MacroDamage::Kind;
    const char* reason = damage.kind == Kind::DataLength   ? "Str052"
                         : damage.kind == Kind::NameLength ? "Str053"
                         : damage.kind == Kind::NameText   ? "Str054"
                                                           : "Str055";
    // Users count the macros of a file from 1.
    const std::string which =
        slot < 0 ? languageText("Str056")
                 : withValue(languageText("Str057"), static_cast<std::size_t>(slot) + 1);
    const std::string text = languageText("Str029") + " \"" + path + "\". " + which + " " +
                             withValue(languageText(reason), damage.value) + " " +
                             languageText("Str058");
    modal([&] { return host_.showMessage(text); });
}

bool TForm1::macroMouseStillThere() {
    if (link_.deviceOpen() && link_.deviceKind() == device::DeviceKind::Macro) return true;
    ShowMessage("Str022");
    return false;
}

void TForm1::Btn_ExportOneClick() {
    const int slot = selectedSlot();
    if (slot < 0) return;
    skin::showPressed(*this, "Btn_ExportOne");
    link_.CompleteRead();
    const auto chosen = chooseFile(kSaveDialog, true);
    // The mouse may have gone while the dialog was open: its names are no longer in the list.
    if (!chosen || !macroMouseStillThere()) return;
    const auto target = saveTarget(*chosen, kSaveDialog);
    if (!target) return;
    const std::string& path = *target;
    UIToMacroName();  // the name as the list shows it
    const auto s = static_cast<std::size_t>(slot);
    const std::span<const image::Byte> record(
        image_.dataBuf.macroNames.data() + s * macros::kRecordSize, macros::kRecordSize);
    if (const auto error = image::writeRawFile(path, {record, image_.dataBuf.macros[s]}))
        fileError(*error, path, true);
}

void TForm1::Btn_ExportClick() {
    skin::showPressed(*this, "Btn_Export");
    link_.CompleteRead();
    const auto chosen = chooseFile(kSaveDialog, true);
    if (!chosen || !macroMouseStillThere()) return;
    const auto target = saveTarget(*chosen, kSaveDialog);
    if (!target) return;
    const std::string& path = *target;
    UIToMacroName();
    const std::span<const image::Byte> blocks(image_.dataBuf.macros.front().data(),
                                              image::kMacroCount * image::kMacroSize);
    if (const auto error = image::writeRawFile(path, {image_.dataBuf.macroNames, blocks}))
        fileError(*error, path, true);
}

void TForm1::Btn_ImportOneClick() {
    const int slot = selectedSlot();
    if (slot < 0) return;
    skin::showPressed(*this, "Btn_ImportOne");
    const auto chosen = chooseFile(kLoadDialog, false);
    if (!chosen || !macroMouseStillThere()) return;
    auto read = image::readRawFile(*chosen, kOneMacroFile);
    if (const auto* error = std::get_if<image::FileError>(&read)) {
        fileError(*error, *chosen, false);
        return;
    }
    const auto& bytes = std::get<std::vector<image::Byte>>(read);
    if (const auto damage = macros::checkMacro(piece(bytes, 0, macros::kRecordSize),
                                               piece(bytes, macros::kRecordSize, kBlock))) {
        damagedMacroFile(*chosen, -1, *damage);
        return;
    }
    UIToMacroName();  // renames of the other slots stay
    const auto s = static_cast<std::size_t>(slot);
    image::copyFrom(bytes, 0,
                    std::span<image::Byte>(image_.dataBuf.macroNames)
                        .subspan(s * macros::kRecordSize, macros::kRecordSize));
    image::copyFrom(bytes, macros::kRecordSize, image_.dataBuf.macros[s]);
    RefreshMacroName();
    // A mouse plugged back while the dialog was open was read again, with no slot selected.
    control("LB_MacroName").setItemIndex(slot);
    LB_MacroNameClick();
}

void TForm1::Btn_ImportClick() {
    skin::showPressed(*this, "Btn_Import");
    const auto chosen = chooseFile(kLoadDialog, false);
    if (!chosen || !macroMouseStillThere()) return;
    auto read = image::readRawFile(*chosen, kAllMacrosFile);
    if (const auto* error = std::get_if<image::FileError>(&read)) {
        fileError(*error, *chosen, false);
        return;
    }
    const auto& bytes = std::get<std::vector<image::Byte>>(read);
    // All or nothing: one damaged macro keeps every slot as it is.
    for (std::size_t k = 0; k < image::kMacroCount; ++k) {
        if (const auto damage =
                macros::checkMacro(piece(bytes, k * macros::kRecordSize, macros::kRecordSize),
                                   piece(bytes, image::kMacroNameAreaSize + k * kBlock, kBlock))) {
            damagedMacroFile(*chosen, static_cast<int>(k), *damage);
            return;
        }
    }
    image::copyFrom(bytes, 0, image_.dataBuf.macroNames);
    for (std::size_t k = 0; k < image::kMacroCount; ++k) {
        image::copyFrom(bytes, image::kMacroNameAreaSize + k * image::kMacroSize,
                        image_.dataBuf.macros[k]);
    }
    RefreshMacroName();
    LB_MacroNameClick();
}

}  // namespace app
