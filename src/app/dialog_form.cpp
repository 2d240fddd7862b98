#include "app/dialog_form.h"

#include "app/main_form.h"
#include "skin/pictures.h"

namespace app {

DialogForm::DialogForm(std::string name, TForm1& main, ui::Host& host, const char* titleLabel,
                       const char* edit)
    : ui::Form(std::move(name)),
      main_(main),
      host_(host),
      title_(add(ui::ControlKind::Label, titleLabel)),
      edit_(add(ui::ControlKind::Edit, edit)) {
    setRole(Role::Dialog);
    ui::Control& back = add(ui::ControlKind::Picture, "Img_Assembly");
    back.setBounds({0, 0, 355, 180});
    skin::showPicture(back, "DialogBack");
    // The background is below everything that follows.
    bringToFront(title_);
    title_.setBounds({14, 22, 220, 24});
    title_.setFont({11, {255, 255, 255}, true});
    edit_.setBounds({56, 68, 209, 22});
    edit_.setBackground(ui::Color{255, 255, 255});
    edit_.setFontColor({0, 0, 0});
    for (const auto& [button, picture, x] :
         {std::tuple{"IB_Confirm", "Img_Confirm", 44}, {"IB_Cancel", "Img_Cancel", 196}}) {
        ui::Control& highlight = add(ui::ControlKind::Picture, picture);
        highlight.setBounds({x, 134, 97, 30});
        skin::showPicture(highlight, "DialogHighlight");
        highlight.setVisible(false);
        ui::Control& label = add(ui::ControlKind::Label, button);
        label.setBounds({x, 134, 97, 29});
        label.setFont({10, {255, 255, 255}, true});
        label.setAlignment(ui::Align::Center);
        label.setVerticalCenter(true);
        label.onMouseEnter = [&highlight](ui::Control&) { highlight.setVisible(true); };
        label.onMouseLeave = [&highlight](ui::Control&) { highlight.setVisible(false); };
    }
    at("IB_Confirm").onClick = [this](ui::Control&) { IB_ConfirmClick(); };
    at("IB_Cancel").onClick = [this](ui::Control&) { IB_CancelClick(); };
    ui::Control& closeArea = add(ui::ControlKind::Label, "IB_Close");
    closeArea.setBounds({316, 6, 30, 30});
    closeArea.onClick = [this](ui::Control&) { IB_CloseClick(); };
}

void DialogForm::placeAndShow(const char* titleKey, const char* confirmKey, const char* cancelKey) {
    const ui::Rect m = main_.bounds();
    setBounds({m.x + (m.w - kWidth) / 2, m.y + (m.h - kHeight) / 2 + 40, kWidth, kHeight});
    title_.setCaption(main_.languageText(titleKey));
    at("IB_Confirm").setCaption(main_.languageText(confirmKey));
    at("IB_Cancel").setCaption(main_.languageText(cancelKey));
    at("Img_Confirm").setVisible(false);
    at("Img_Cancel").setVisible(false);
    setVisible(true);
    host_.showForm(*this);
    setFocus(&edit_);
}

void DialogForm::close() {
    setVisible(false);
    host_.hideForm(*this);
}

}  // namespace app
