#include "skin/hover_states.h"

#include <array>

#include "skin/pictures.h"

namespace skin {
namespace {

constexpr std::array<std::string_view, 6> kNavigation{"Img_Main", "Img_Switch", "Img_Fixed",
                                                      "Img_Adv",  "Img_Breath", "Img_Macro"};

struct ButtonFamily {
    std::initializer_list<std::string_view> buttons;
    std::string_view enter, leave, pressed;
};

const ButtonFamily kTypeA{
    {"Btn_Confirm", "Btn_Apply", "Btn_Reset", "Btn_Exit"}, "BtnS_02", "BtnS_01", "BtnS_03"};
const ButtonFamily kTypeB{{"Btn_Main", "Btn_Switch", "Btn_Fixed", "Btn_Adv", "Btn_Breath",
                           "Btn_Macro", "Btn_Save", "Btn_Load"},
                          "SetS_03",
                          "SetS_01",
                          "SetS_02"};
const ButtonFamily kTypeD{{"Btn_Lang1", "Btn_Lang2", "Btn_Lang3"}, "SetS_03", "SetS_01", "SetS_02"};
const ButtonFamily kTypeC{{"Key1", "Key2", "Key3", "Key4", "Key5", "Key6", "Key7", "Key8", "Key9",
                           "Key10", "Key11", "Key12"},
                          "KeyS_02",
                          "KeyS_01",
                          ""};
const ButtonFamily kTypeF{{"Btn_New", "Btn_Clear", "Btn_ExportOne", "Btn_Export", "Btn_ImportOne",
                           "Btn_Import", "Btn_Del", "Btn_Insert"},
                          "MacroS_02",
                          "MacroS_01",
                          "MacroS_03"};
const ButtonFamily kRecord{{"Btn_Start", "Btn_InsertStart"}, "MacroS_02", "MacroS_01", "MacroS_03"};
const ButtonFamily kTypeG{{"Btn_OK", "Btn_Cancel"}, "MacroBtnS_02", "MacroBtnS_01", "MacroBtnS_03"};
const ButtonFamily kWeb{{"Btn_Web"}, "WebS_03", "WebS_01", "WebS_02"};

const ButtonFamily* const kFamilies[] = {&kTypeA, &kTypeB,  &kTypeD, &kTypeC,
                                         &kTypeF, &kRecord, &kTypeG, &kWeb};

// Key labels keep their pictures under "Img_Key<n>".
std::string imageOf(std::string_view button) {
    if (button.starts_with("Key")) return "Img_" + std::string(button);
    return pictureNameOf(std::string(button));
}

void show(ui::Form& form, std::string_view control, std::string_view picture) {
    if (ui::Control* c = form.find(control)) showPicture(*c, std::string(picture));
}

}  // namespace

std::string navigationPicture(int selector) {
    if (selector < 1 || selector > 6) return {};
    return std::string(kNavigation[selector - 1]);
}

void showSelectedNavigation(ui::Form& form, const HoverContext& context) {
    if (context.errorPage()) return;
    show(form, navigationPicture(context.pageSelector()), "SetS_02");
}

void attachHoverHandlers(ui::Form& form, HoverContext& context) {
    for (const ButtonFamily* family : kFamilies) {
        for (std::string_view button : family->buttons) {
            ui::Control* label = form.find(button);
            if (!label) continue;
            const std::string image = imageOf(button);
            const std::string enter(family->enter), leave(family->leave);
            const bool record = family == &kRecord;
            const bool navigation = family == &kTypeB;
            const bool language = family == &kTypeD;
            label->onMouseEnter = [&form, &context, image, enter, record](ui::Control&) {
                show(form, image, enter);
                if (record) context.setPointerOverRecord(true);
            };
            label->onMouseLeave = [&form, &context, image, leave, record, navigation,
                                   language](ui::Control&) {
                show(form, image, leave);
                if (record) context.setPointerOverRecord(false);
                if (navigation) showSelectedNavigation(form, context);
                if (language)
                    show(form, "Img_Lang" + std::to_string(context.languageSelector()), "SetS_02");
            };
        }
    }
}

std::string pressedPicture(std::string_view buttonName) {
    for (const ButtonFamily* family : kFamilies) {
        for (std::string_view button : family->buttons) {
            if (button == buttonName) return std::string(family->pressed);
        }
    }
    return {};
}

void showPressed(ui::Form& form, std::string_view buttonName) {
    const std::string picture = pressedPicture(buttonName);
    if (!picture.empty()) show(form, imageOf(buttonName), picture);
}

constexpr const char* kStartBackground = "L1_BackGround";
constexpr const char* kMouseKeysBackground = "L1_Back1";

std::vector<std::string> startPagePictures() {
    return {kStartBackground, kMouseKeysBackground, "BtnS_01", "KeyS_01", "SetS_01", "SetS_02",
            "WebS_01"};
}

void LoadSkinImages(ui::Form& form, int pageSelector) {
    show(form, "Img_Base", kStartBackground);
    if (pageSelector >= 1 && pageSelector <= 3) show(form, "Img_P1", kMouseKeysBackground);
    show(form, "Img_P2", "L1_Back2");
    show(form, "Img_P3", "L1_Back3");
    show(form, "Img_P4", "L1_Back4");
    for (std::string_view b : kTypeA.buttons) show(form, imageOf(b), "BtnS_01");
    show(form, "Img_Main", "SetS_02");
    show(form, "Img_Lang1", "SetS_02");
    for (std::string_view c : {"Img_Switch", "Img_Fixed", "Img_Adv", "Img_Breath", "Img_Macro",
                               "Img_Save", "Img_Load", "Img_Lang2", "Img_Lang3"}) {
        show(form, c, "SetS_01");
    }
    for (std::string_view b : kTypeC.buttons) show(form, imageOf(b), "KeyS_01");
    show(form, "Img_Web", "WebS_01");
    for (std::string_view c :
         {"Img_New", "Img_Clear", "Img_Start", "Img_ExportOne", "Img_Export", "Img_ImportOne",
          "Img_Import", "Img_InsertStart", "Img_Del", "Img_Insert"}) {
        show(form, c, "MacroS_01");
    }
    show(form, "Img_OK", "MacroBtnS_01");
    show(form, "Img_Cancel", "MacroBtnS_01");
}

}  // namespace skin
