#pragma once
// The pictures of the skinned buttons: which picture each button shows when the pointer enters
// or leaves it, when it is pressed, and at start-up.
#include <string>
#include <string_view>
#include <vector>

#include "ui/form.h"

namespace skin {

// What the pictures need to know of the window.
class HoverContext {
  public:
    virtual ~HoverContext() = default;
    virtual bool errorPage() const = 0;
    // The page selector, 1 (rb_1) to 6 (rb_6).
    virtual int pageSelector() const = 0;
    // The current language, 1 (rb_Lang1) to 3.
    virtual int languageSelector() const = 0;
    // True while the pointer is over Btn_Start or Btn_InsertStart.
    virtual void setPointerOverRecord(bool over) = 0;
};

// The navigation picture of a page selector state: 1 Img_Main ... 6 Img_Macro.
std::string navigationPicture(int selector);

// Sets the enter and leave handlers of every skinned button the form has.
void attachHoverHandlers(ui::Form& form, HoverContext& context);

// "SetS_02" on the selected navigation button, unless the error page is up.
void showSelectedNavigation(ui::Form& form, const HoverContext& context);

// The pressed picture of a button ("BtnS_03" for Btn_Apply, ...); empty for others.
std::string pressedPicture(std::string_view buttonName);
void showPressed(ui::Form& form, std::string_view buttonName);

// The start-up pictures of skin set 1.
void LoadSkinImages(ui::Form& form, int pageSelector);
// Every picture the start page shows first (skin set 1, the Mouse Keys Page), for a renderer
// that can prepare them while the program starts.
std::vector<std::string> startPagePictures();

}  // namespace skin
