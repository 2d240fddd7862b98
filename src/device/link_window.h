#pragma once
// What the device link asks of the main window and of its host. TForm1 implements both; tests
// use recording fakes with virtual time.
#include <string_view>

#include "image/conversion.h"

namespace device {

// The window's side. Through ConversionHooks it also contributes its shares to the image
// conversions the link runs (RefreshUI, UIToDataBuf and the fire-key writers).
class LinkWindow : public image::ConversionHooks {
  public:
    enum class StateLabels { None, TypeError, IdError };

    // Closes the function menus.
    virtual void HideAllMenu() = 0;
    virtual void LockWindow() = 0;
    virtual void UnlockWindow() = 0;
    virtual void ShowWaitWindow() = 0;
    virtual void HideWaitWindow() = 0;
    // How far a long transfer is: `done` of `total` reports; a total of 0 ends the display.
    virtual void ShowTransferProgress(int /*done*/, int /*total*/) {}
    virtual void SetDevTimerEnabled(bool enabled) = 0;
    // Runs DeviceLink::ReadStep often (every millisecond or so) while on.
    virtual void SetReadStepsEnabled(bool /*on*/) {}
    // How far the macros read behind the shown pages are: `done` of `total` reports; a total
    // of 0 says they are in (or the read ended), and the Macro Page may be used.
    virtual void ShowMacroReadProgress(int /*done*/, int /*total*/) {}
    // Shows exactly the given device-state label (TypeError, IdError) or none of the four.
    virtual void ShowStateLabels(StateLabels labels) = 0;
    // Enters the error state: pages hidden, error-page flag set (the link has already given
    // the mouse up).
    virtual void RefreshErrorAP() = 0;
    // After a successful read; the link's device kind decides the macro items.
    virtual void ShowDevicePages() = 0;
    // The mouse is gone: no-device labels, error state, macro lists emptied.
    virtual void ShowNoDevicePage() = 0;
    // Macro name area to the name lists, and back.
    virtual void RefreshMacroName() = 0;
    virtual void UIToMacroName() = 0;
    // Empties the macro lists and memos before a Reset shows empty macros.
    virtual void ClearMacroEditor() = 0;
    // The desktop's pointer, double-click and wheel settings: read into the controls, applied.
    virtual void RefreshMouseSystemParameters() = 0;
    virtual void ApplyMouseSystemParameters() = 0;
    // A plain message box (OK, no icon) with the text of a language key such as "Str022".
    virtual void ShowMessage(std::string_view languageKey) = 0;
    // The pressed picture of Btn_Apply, Btn_Confirm or Btn_Reset.
    virtual void ShowPressedPicture(std::string_view buttonName) = 0;
    virtual void CloseMainWindow() = 0;
    // No device operation runs any more: a held close request may go ahead.
    virtual void DeviceIdle() = 0;
    // Keeps a copy of what the mouse holds before it is written (a profile file); `stem` names
    // the mouse (ids and kind, and whether the copy is partial). Failures are told here.
    virtual void BackUpMouse(const image::DataBuf& profile, std::string_view stem) = 0;
};

// Time and the message queue; only through here, so that tests run on virtual time.
class LinkHost {
  public:
    virtual ~LinkHost() = default;
    virtual void sleep(int milliseconds) = 0;
    // Runs the message queue once.
    virtual void processMessages() = 0;
};

}  // namespace device
