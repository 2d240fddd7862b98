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

    explicit TFormLoadingUI(ui::Host& host);

    // Placed once, centred on the main window and 40 pixels lower.
    void FormCreate(const ui::Rect& mainWindow);
    void show();
    void hide();
    int frame() const { return frame_; }

    static std::string frameName(int frame);

  private:
    void nextFrame();

    ui::Host& host_;
    ui::Control& waitGif_;
    ui::Timer animation_{"WaitGifTimer", kFrameIntervalMs, false};
    int frame_ = 0;
};

}  // namespace app
