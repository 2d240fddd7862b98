// Save Profile and Load Profile: everything the editor holds for the mouse in one file.
#include "app/main_form.h"
#include "image/conversion.h"
#include "image/key_code_texts.h"
#include "image/profile_file.h"
#include "skin/pictures.h"

namespace app {
namespace {

const ui::FileDialog kSaveDialog{"SaveFile (*.bin)", "bin"};
const ui::FileDialog kLoadDialog{"LoadFile (*.bin)", "bin"};

}  // namespace

void TForm1::Btn_SaveClick() {
    HideAllMenu();
    skin::showPicture(control("Img_Save"), "SetS_02");
    if (!link_.deviceOpen()) {
        ShowMessage("Str022");
        return;
    }
    const auto chosen = modal([&] { return host_.saveFileName(kSaveDialog); });
    if (!chosen) return;
    image::ComposeDataBuf(image_, link_.conversionContext(), *this);
    if (link_.deviceKind() == device::DeviceKind::Macro) {
        // The names as the list shows them, renames not yet applied included.
        UIToMacroName();
    } else {
        image_.dataBuf.macroNames.fill(0xFF);
        for (auto& m : image_.dataBuf.macros) m.fill(0xFF);
    }
    const std::string path = image::withBinSuffix(*chosen);
    if (const auto error = image::writeProfileFile(path, image_.dataBuf))
        fileError(*error, path, true);
}

void TForm1::Btn_LoadClick() {
    HideAllMenu();
    skin::showPicture(control("Img_Load"), "SetS_02");
    if (!link_.deviceOpen()) {
        ShowMessage("Str022");
        return;
    }
    const auto chosen = modal([&] { return host_.openFileName(kLoadDialog); });
    if (!chosen) return;
    const auto expected = link_.profileExpectation();
    if (!expected) return;
    auto read = image::readProfileFile(*chosen, *expected);
    if (const auto* error = std::get_if<image::FileError>(&read)) {
        fileError(*error, *chosen, false);
        return;
    }
    image_.dataBuf = std::get<image::DataBuf>(read);
    if (link_.deviceKind() == device::DeviceKind::Macro)
        image::takeProfileDeviceSections(image_, link_.conversionContext());
    MemoToDataBuf_OnClick();
    link_.TakeFileContents();
}

void TForm1::MemoToDataBuf_OnClick() {
    RefreshMacroName();
    image::clearKeyCodeTexts(image_.keyCodeTexts);
    image::DataBufToUI(image_, link_.conversionContext(), *this);
}

}  // namespace app
