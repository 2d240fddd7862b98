#include "app/wait_form.h"

#include <algorithm>
#include <cstdio>

#include "skin/pictures.h"

namespace app {

TFormLoadingUI::TFormLoadingUI(ui::Host& host)
    : ui::Form("FormLoadingUI"),
      host_(host),
      waitGif_(add(ui::ControlKind::Picture, "WaitGif")),
      track_(add(ui::ControlKind::Label, "ProgressTrack")),
      fill_(add(ui::ControlKind::Label, "ProgressFill")) {
    setRole(Role::Floating);
    waitGif_.setBounds({3, 2, 200, 192});
    waitGif_.setStretch(true);
    // Between "Please wait" and the frame, in the skin's grey and red.
    track_.setBounds({kBarX, kBarY, kBarWidth, kBarHeight});
    track_.setBackground(ui::Color{0x3A, 0x3D, 0x44});
    fill_.setBounds({kBarX, kBarY, 0, kBarHeight});
    fill_.setBackground(ui::Color{0xE3, 0x26, 0x2E});
    track_.setVisible(false);
    fill_.setVisible(false);
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
    // The animation runs from creation, but a hidden window has nothing to show.
    if (!visible()) return;
    frame_ = (frame_ + 1) % kFrameCount;
    skin::showPicture(waitGif_, frameName(frame_));
}

void TFormLoadingUI::showProgress(int done, int total) {
    const int percent = total > 0 ? std::clamp(done * 100 / total, 0, 100) : -1;
    if (percent == percent_) return;  // a repaint only when the bar moves
    percent_ = percent;
    track_.setVisible(percent >= 0);
    fill_.setVisible(percent > 0);
    fill_.setBounds({kBarX, kBarY, kBarWidth * std::max(percent, 0) / 100, kBarHeight});
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
