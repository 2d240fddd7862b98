// Save Profile and Load Profile: everything the editor holds for the mouse in one file.
#include <algorithm>

#include "app/main_form.h"
#include "image/conversion.h"
#include "image/key_code_texts.h"
#include "image/profile_file.h"
#include "skin/pictures.h"

namespace app {
namespace {

const ui::FileDialog kSaveDialog{"SaveFile (*.bin)", "bin", {}, {}};
const ui::FileDialog kLoadDialog{"LoadFile (*.bin)", "bin", {}, {}};

// What a mouse without macro memory saves in place of macros: every byte erased.
bool carriesNoMacros(const image::DataBuf& buf) {
    const auto erased = [](const auto& bytes) {
        return std::ranges::all_of(bytes, [](image::Byte b) { return b == 0xFF; });
    };
    return erased(buf.macroNames) && std::ranges::all_of(buf.macros, erased);
}

}  // namespace

std::optional<std::string> TForm1::chooseFile(ui::FileDialog dialog, bool save, bool offerBackups) {
    dialog.folder = lastFolder_;
    if (offerBackups && !backupFolder_.empty()) dialog.places.push_back(backupFolder_);
    auto chosen =
        modal([&] { return save ? host_.saveFileName(dialog) : host_.openFileName(dialog); });
    if (chosen) {
        const auto cut = chosen->find_last_of("/\\");
        // A file at the top of a drive or of the file system keeps its separator.
        const bool top = cut == 0 || (cut == 2 && (*chosen)[1] == ':');
        if (cut != std::string::npos) lastFolder_ = chosen->substr(0, top ? cut + 1 : cut);
    }
    return chosen;
}

void TForm1::Btn_SaveClick() {
    HideAllMenu();
    skin::showPicture(control("Img_Save"), "SetS_02");
    if (!link_.deviceOpen()) {
        ShowMessage("Str022");
        return;
    }
    // A profile holds the macros: they are all read first.
    link_.CompleteRead();
    const auto chosen = chooseFile(kSaveDialog, true);
    if (!chosen) return;
    // The mouse may have gone while the dialog was open; without it the macros are unknown.
    if (!link_.deviceOpen()) {
        ShowMessage("Str022");
        return;
    }
    const auto path = saveTarget(*chosen, kSaveDialog);
    if (!path) return;
    image::ComposeDataBuf(image_, link_.conversionContext(), *this);
    if (link_.deviceKind() == device::DeviceKind::Macro) {
        // The names as the list shows them, renames not yet applied included.
        UIToMacroName();
    } else {
        image_.dataBuf.macroNames.fill(0xFF);
        for (auto& m : image_.dataBuf.macros) m.fill(0xFF);
    }
    if (const auto error = image::writeProfileFile(*path, image_.dataBuf))
        fileError(*error, *path, true);
}

void TForm1::Btn_LoadClick() {
    HideAllMenu();
    skin::showPicture(control("Img_Load"), "SetS_02");
    if (!link_.deviceOpen()) {
        ShowMessage("Str022");
        return;
    }
    const auto chosen = chooseFile(kLoadDialog, false, true);
    if (!chosen) return;
    if (!link_.deviceOpen()) {
        ShowMessage("Str022");
        return;
    }
    const auto expected = link_.profileExpectation();
    if (!expected) return;
    auto read = image::readProfileFile(*chosen, *expected);
    if (const auto* error = std::get_if<image::FileError>(&read)) {
        fileError(*error, *chosen, false);
        return;
    }
    auto& loaded = std::get<image::DataBuf>(read);
    const bool macroMouse = link_.deviceKind() == device::DeviceKind::Macro;
    // A profile of a mouse without macros would erase this mouse's macros: they stay, with
    // their names as the list shows them.
    const bool keepMacros = macroMouse && carriesNoMacros(loaded);
    if (keepMacros) {
        UIToMacroName();
        loaded.macroNames = image_.dataBuf.macroNames;
        loaded.macros = image_.dataBuf.macros;
    }
    image_.dataBuf = loaded;
    if (macroMouse) image::takeProfileDeviceSections(image_, link_.conversionContext());
    MemoToDataBuf_OnClick();
    link_.TakeFileContents();
    if (keepMacros) ShowMessage(kMacrosKeptMessage);
}

void TForm1::MemoToDataBuf_OnClick() {
    RefreshMacroName();
    image::clearKeyCodeTexts(image_.keyCodeTexts);
    image::DataBufToUI(image_, link_.conversionContext(), *this);
}

}  // namespace app
