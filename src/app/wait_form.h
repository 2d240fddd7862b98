#pragma once
// The wait window: a small borderless, always-on-top window with a looping animation, shown
// by every device operation and never modal.
#include "ui/form.h"
#include "ui/host.h"
#include "ui/timer.h"

namespace app {

class TFormLoadingUI : public ui::Form {
  public:
    static constexpr int kWidth = 206;
    static constexpr int kHeight = 196;
    static constexpr int kFrameCount = 12;
    static constexpr int kFrameIntervalMs = 80;
    static constexpr int kBarX = 43, kBarY = 178, kBarWidth = 120, kBarHeight = 4;

    explicit TFormLoadingUI(ui::Host& host);

    // Placed once, centred on the main window and 40 pixels lower.
    void FormCreate(const ui::Rect& mainWindow);
    void show();
    void hide();
    int frame() const { return frame_; }
    // A thin bar under the animation filled to `done` of `total`; a total of 0 hides it.
    void showProgress(int done, int total);
    int progressPercent() const { return percent_; }

    static std::string frameName(int frame);

  private:
    void nextFrame();

    ui::Host& host_;
    ui::Control& waitGif_;
    ui::Control& track_;
    ui::Control& fill_;
    int percent_ = -1;  // -1 while no bar shows
    ui::Timer animation_{"WaitGifTimer", kFrameIntervalMs, false};
    int frame_ = 0;
};

}  // namespace app
