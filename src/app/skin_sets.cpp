// Skin sets: the layout table, the pictures and the language table of the current set, and
// the language buttons that switch between them.
#include "app/main_form.h"

#include "skin/pictures.h"

namespace app {
namespace {

// Menu entries and the language keys of their names.
const std::pair<const char*, const char*> kMenuTexts[] = {
    {"Key_Standard", "Str201"},
    {"Key_Special", "Str202"},
    {"Key_Media", "Str203"},
    {"Key_WWW", "Str204"},
    {"Key_Assembly", "Str205"},
    {"Key_Macro", "Str206"},
    {"Key_L", "Str210"},
    {"Key_Left", "Str210"},
    {"Key_R", "Str211"},
    {"Key_Right", "Str211"},
    {"Key_M", "Str212"},
    {"Key_Middle", "Str212"},
    {"Key_B4", "Str213"},
    {"Key_B5", "Str214"},
    {"Key_ACPI", "Str220"},
    {"Key_Power", "Str221"},
    {"Key_Sleep", "Str222"},
    {"Key_WakeUp", "Str223"},
    {"Key_Fire", "Str230"},
    {"Key_FireMode1", "Str231"},
    {"Key_FireMode2", "Str232"},
    {"Key_FireMode3", "Str233"},
    {"Key_FireMode4", "Str234"},
    {"Key_FireMode", "Str240"},
    {"Key_AIM", "Str241"},
    {"Key_Profile", "Str242"},
    {"Key_CPI", "Str243"},
    {"Key_ReportRate", "Str244"},
    {"Key_Default", "Str245"},
    {"Key_LEDMode", "Str246"},
    {"Key_CPII", "Str247"},
    {"Key_CPID", "Str248"},
    {"Key_PlayPause", "Str250"},
    {"Key_Stop", "Str251"},
    {"Key_PreviousTrack", "Str252"},
    {"Key_NextTrack", "Str253"},
    {"Key_VolumePlus", "Str254"},
    {"Key_VolumeMinus", "Str255"},
    {"Key_Mute", "Str256"},
    {"Key_WWWHome", "Str260"},
    {"Key_WWWSearch", "Str261"},
    {"Key_WWWBack", "Str262"},
    {"Key_WWWForward", "Str263"},
    {"Key_WWWStop", "Str264"},
    {"Key_WWWRefresh", "Str265"},
    {"Key_WWWFavorites", "Str266"},
};

const std::pair<const char*, const char*> kButtonTexts[] = {
    {"Btn_Confirm", "Str000"},
    {"Btn_Apply", "Str001"},
    {"Btn_Reset", "Str002"},
    {"Btn_Exit", "Str003"},
    {"Btn_Main", "Str004"},
    {"Btn_Switch", "Str005"},
    {"Btn_Fixed", "Str006"},
    {"Btn_Adv", "Str007"},
    {"Btn_Breath", "Str008"},
    {"Btn_Save", "Str009"},
    {"Btn_Load", "Str010"},
    {"Btn_Lang1", "Str011"},
    {"Btn_Lang2", "Str012"},
    {"Btn_Lang3", "Str013"},
    {"Btn_Macro", "Str014"},
    {"lbl_KeyHint", "Str038"},
    {"lbl_DPIHint", "Str039"},
    {"lbl_NoLight", "Str040"},
    {"lbl_WindowRecording", "Str042"},
    {"lbl_NoDev", "Str100"},
    {"lbl_CheckDev", "Str101"},
    {"lbl_TypeError", "Str102"},
    {"lbl_IDError", "Str103"},
};

const std::pair<const char*, const char*> kMacroPageTexts[] = {
    {"Btn_Start", "Str400"},     {"Btn_New", "Str402"},    {"Btn_Clear", "Str403"},
    {"Btn_ExportOne", "Str404"}, {"Btn_Export", "Str405"}, {"Btn_ImportOne", "Str406"},
    {"Btn_Import", "Str407"},    {"Btn_Del", "Str408"},    {"Btn_Insert", "Str409"},
    {"lbl_Delay", "Str417"},     {"lbl_s_A", "Str418"},    {"Btn_InsertStart", "Str400"},
    {"Btn_OK", "Str420"},        {"Btn_Cancel", "Str422"},
};

// The slot whose placeholder, in any of the tables, is the caption: an unnamed macro on a key
// label is named again in the new language.
std::optional<std::size_t> unnamedMacroSlot(const std::string& caption,
                                            const skin::LanguageTable (&tables)[3]) {
    for (const auto& table : tables) {
        const std::string pattern = table.text(TForm1::kUnnamedMacro);
        const auto at = pattern.find("%1");
        if (at == std::string::npos || caption.size() <= pattern.size() - 2 ||
            !caption.starts_with(pattern.substr(0, at)) ||
            !caption.ends_with(pattern.substr(at + 2)))
            continue;
        const std::string digits = caption.substr(at, caption.size() - (pattern.size() - 2));
        if (digits.empty() || digits.size() > 2 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const int n = std::stoi(digits);
        if (n >= 1 && n <= static_cast<int>(image::kMacroCount))
            return static_cast<std::size_t>(n - 1);
    }
    return std::nullopt;
}

}  // namespace

void TForm1::LoadWebLink() {
    const skin::LayoutTable web = skin::LayoutTable::load(0);
    webAddress_ = web.text("Web");
    const auto x = web.number("Web_X"), y = web.number("Web_Y");
    if (!x || !y) return;
    ui::Control& picture = control("Img_Web");
    picture.setPosition(static_cast<int>(*x), static_cast<int>(*y));
    control("Btn_Web").setBounds(picture.bounds());
}

void TForm1::ApplyLayoutAndLanguage() {
    const std::string prefix = "L" + std::to_string(skinSet_) + "_";
    skin::showPicture(control("Img_Base"), prefix + "BackGround");
    const int selector = pageSelector();
    const int page = selector <= 3 ? 1 : selector - 2;
    skin::showPicture(control("Img_P" + std::to_string(page)),
                      prefix + "Back" + std::to_string(page));
    skin::applyLayoutTable(*this, skin::LayoutTable::load(skinSet_), kept_);
    showDelayEdit();  // the table colours the edit as if it were editable
    language_ = skin::LanguageTable::load(skinSet_);
    applyLanguageTexts();
}

void TForm1::applyLanguageTexts() {
    const auto text = [this](const char* key) { return languageText(key); };
    host_.setApplicationTitle(text("Title"));
    for (const auto& [name, key] : kButtonTexts) control(name).setCaption(text(key));

    // Key labels show function names in the language they were set in: find each caption's key
    // in any table and take the current table's text for it.
    const skin::LanguageTable tables[3] = {
        skin::LanguageTable::load(1), skin::LanguageTable::load(2), skin::LanguageTable::load(3)};
    for (int n = 1; n <= 12; ++n) {
        ui::Control& key = control("Key" + std::to_string(n));
        const std::string found = skin::FindStrKey(key.caption(), tables);
        if (!found.empty()) key.setCaption(text(found.c_str()));
        if (const auto slot = unnamedMacroSlot(key.caption(), tables))
            key.setCaption(macroPlaceholder(*slot));
    }
    showMacroPlaceholders();

    const std::string bullet = " " + text("Str200") + " ";
    for (const auto& [name, key] : kMenuTexts) control(name).setCaption(bullet + text(key));
    for (int n = 0; n < 8; ++n)
        control("lbl_DPI" + std::to_string(n + 1))
            .setCaption(text(("Str" + std::to_string(300 + n)).c_str()));
    for (int n = 0; n < 4; ++n)
        control("lbl_FKMode" + std::to_string(n + 1))
            .setCaption(text(("Str" + std::to_string(310 + n)).c_str()));
    for (const auto& [name, key] : kMacroPageTexts) control(name).setCaption(text(key));
    ui::Control& insert = control("CB_Insert");
    insert.setItems({text("Str410"), text("Str411"), text("Str412"), text("Str413")});
    const std::string indent(7, ' ');
    control("IB_InsertRecDelay").setCaption(indent + text("Str414"));
    control("IB_InsertDelayTime").setCaption(indent + text("Str415"));
    control("IB_InsertNoDelay").setCaption(indent + text("Str416"));
}

void TForm1::Btn_LangClick(int language) {
    for (int n = 1; n <= 3; ++n) {
        skin::showPicture(control("Img_Lang" + std::to_string(n)),
                          n == language ? "SetS_02" : "SetS_01");
    }
    control("gbLang").setItemIndex(language - 1);
    ui::Control& insert = control("CB_Insert");
    const int remembered = insert.itemIndex();
    control("Gb_Delay").setVisible(false);
    skinSet_ = language;
    ApplyLayoutAndLanguage();
    insert.setItemIndex(remembered);
    host_.setApplicationTitle(languageText("Title"));
    RefreshAPPage();
}

}  // namespace app
