// Recording a macro: system-wide keys and mouse buttons become event lines of the selected
// slot, compiled into it when the recording stops.
#include "app/main_form.h"
#include "skin/pictures.h"

namespace app {
namespace {

const char* const kLockedDuringRecording[] = {
    "LB_MacroName", "LB_macro",      "Btn_New",    "Btn_Clear", "Btn_ExportOne",
    "Btn_Export",   "Btn_ImportOne", "Btn_Import", "Btn_Del",   "Btn_Insert"};

macros::MouseButton recordedButton(ui::MouseButton b) {
    switch (b) {
        case ui::MouseButton::Left:
            return macros::MouseButton::Left;
        case ui::MouseButton::Right:
            return macros::MouseButton::Right;
        case ui::MouseButton::Middle:
            return macros::MouseButton::Middle;
        case ui::MouseButton::Back:
            return macros::MouseButton::Backward;
        case ui::MouseButton::Forward:
            return macros::MouseButton::Forward;
    }
    return macros::MouseButton::Left;
}

}  // namespace

macros::DelayOptions TForm1::delayOptions() const {
    // An insert recording follows the insert panel's options, a normal one the page's.
    const bool insert = recorder_.inserting();
    const int option = control(insert ? "gbInsertDelayMode" : "gbDelayMode").itemIndex();
    const std::string text = control(insert ? "Edt_InsertDelay" : "Edt_Delay").caption();
    int delay = 0;
    for (char c : text) delay = delay * 10 + (c - '0');
    const macros::DelayMode mode = option == 0   ? macros::DelayMode::Recorded
                                   : option == 1 ? macros::DelayMode::Default
                                                 : macros::DelayMode::None;
    return {mode, delay, text};
}

void TForm1::setMacroPageEnabled(bool enabled) {
    for (const char* name : kLockedDuringRecording) control(name).setEnabled(enabled);
    control("Gb_Delay").setEnabled(enabled);
    showDelayEdit();
}

bool TForm1::startCapture() {
    // Events arrive on the capture's thread; each one is handled as a whole on ours.
    const bool started =
        capture_ &&
        capture_->start({[this](int vk, bool down) {
                             host_.post([this, vk, down] {
                                 KeyboardHook1Receive(vk, keyboardHook_.feed(down));
                             });
                         },
                         [this](macros::MouseButton b, bool down) {
                             host_.post([this, b, down] { recordMouse(b, down); });
                         },
                         [this] { host_.post([this] { ShowMessage(kInputLostMessage); }); }});
    if (started) return true;
    // Without system-wide input (a Wayland session, no XInput2) the window's own keys and
    // buttons still record while it has the focus; the page says so. They are recorded as the
    // system-wide capture would: either Shift, Ctrl or Alt as the generic key.
    if (host_.deliversWindowInput()) {
        windowCapture_ = true;
        onWindowKey = [this](int vk, bool down) {
            KeyboardHook1Receive(macros::genericVirtualKey(vk), keyboardHook_.feed(down));
        };
        onWindowButton = [this](ui::MouseButton b, bool down) {
            recordMouse(recordedButton(b), down);
        };
        control("lbl_WindowRecording").setVisible(true);
        return true;
    }
    // Without input nothing could be recorded, and Stop would empty the slot.
    ShowMessage(kNoCaptureMessage);
    return false;
}

void TForm1::stopCapture() {
    if (windowCapture_) {
        windowCapture_ = false;
        onWindowKey = nullptr;
        onWindowButton = nullptr;
        control("lbl_WindowRecording").setVisible(false);
    } else if (capture_) {
        capture_->stop();
    }
}

void TForm1::Btn_StartClick() {
    // A recording always stops, whatever is selected now (the list may even be empty).
    if (recorder_.recording() && !recorder_.inserting()) {
        stopRecording();
        return;
    }
    if (recorder_.recording()) return;
    if (selectedSlot() < 0) {
        host_.showMessage(languageText(kSelectSlotFirst));
        return;
    }
    skin::showPressed(*this, "Btn_Start");
    if (!startCapture()) return;
    recordingSlot_ = selectedSlot();
    std::vector<std::string> lines;
    recorder_.startNormal(lines);
    keyboardHook_ = {};
    control("mmo_macro").setItems(lines);
    control("LB_macro").clearItems();
    control("mmo_wrscript").clearItems();
    control("Btn_Start").setCaption(languageText("Str401"));
    setMacroPageEnabled(false);
    setFocus(&control("LB_macro"));
}

void TForm1::stopRecording() {
    skin::showPressed(*this, "Btn_Start");
    stopCapture();
    recorder_.stop();
    control("Btn_Start").setCaption(languageText("Str400"));
    setMacroPageEnabled(true);
    // A recording that heard nothing would write an empty macro over the slot: the slot keeps
    // what it held, shown again, and the user is told why nothing changed.
    if (eventLines().size() <= 1) {
        if (selectedSlot() == recordingSlot_) LB_MacroNameClick();
        ShowMessage(kNothingRecordedMessage);
        return;
    }
    // Into the slot that was selected when the recording started.
    MemoToMacro(recordingSlot_);
}

void TForm1::recorded(std::vector<std::string> lines) {
    const int selected = recorder_.selectedItem(lines);
    control("mmo_macro").setItems(std::move(lines));
    showEventList();
    control("LB_macro").setItemIndex(selected);
}

void TForm1::KeyboardHook1Receive(int virtualKey, macros::KeyState state) {
    if (!recorder_.recording()) return;
    std::vector<std::string> lines = eventLines();
    const bool stop = recorder_.keyboard(
        lines, virtualKey, state, static_cast<std::uint32_t>(host_.tickCount()), delayOptions());
    recorded(std::move(lines));
    if (!stop) return;
    // The 100th release ends the recording.
    if (recorder_.inserting()) {
        recorder_.setReleaseCount(macros::Recorder::kLimit);
        Btn_InsertStartClick();
    } else {
        Btn_StartClick();
    }
}

void TForm1::recordMouse(macros::MouseButton button, bool down) {
    if (!recorder_.recording()) return;
    // The click that starts or stops a recording is not part of it.
    if (button == macros::MouseButton::Left && pointerOverRecord_) return;
    std::vector<std::string> lines = eventLines();
    recorder_.mouse(lines, button, down, static_cast<std::uint32_t>(host_.tickCount()),
                    delayOptions());
    recorded(std::move(lines));
}

}  // namespace app
