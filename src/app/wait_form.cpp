#include "app/wait_form.h"

#include <cstdio>

#include "skin/pictures.h"

namespace app {

TFormLoadingUI::TFormLoadingUI(ui::Host& host)
    : ui::Form("FormLoadingUI"), host_(host), waitGif_(add(ui::ControlKind::Picture, "WaitGif")) {
    setRole(Role::Floating);
    waitGif_.setBounds({3, 2, 200, 192});
    waitGif_.setStretch(true);
    animation_.onTimer = [this] { nextFrame(); };
}

std::string TFormLoadingUI::frameName(int frame) {
    char name[16];
    std::snprintf(name, sizeof(name), "Wait_%02d", frame % kFrameCount + 1);
    return name;
}

void TFormLoadingUI::FormCreate(const ui::Rect& main) {
    // Integer division truncates towards zero, as the window placement does.
    setBounds(
        {main.x + (main.w - kWidth) / 2, main.y + (main.h - kHeight) / 2 + 40, kWidth, kHeight});
    skin::showPicture(waitGif_, frameName(0));
    host_.attachTimer(animation_);
    animation_.setEnabled(true);  // the animation runs from creation on
}

void TFormLoadingUI::nextFrame() {
    frame_ = (frame_ + 1) % kFrameCount;
    skin::showPicture(waitGif_, frameName(frame_));
}

void TFormLoadingUI::show() {
    if (!visible()) {
        setVisible(true);
        host_.showForm(*this);
    }
}

void TFormLoadingUI::hide() {
    if (visible()) {
        setVisible(false);
        host_.hideForm(*this);
    }
}

}  // namespace app
