#pragma once
// TForm1: the main window's logic. It owns the image, the device link and the window's
// controls, implements what the link and the skin ask of the window, and runs start-up.
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "device/device_link.h"
#include "device/hid_backend.h"
#include "device/hid_transport.h"
#include "image/image_types.h"
#include "image/raw_file.h"
#include "keys/fire_key_modes.h"
#include "macros/input_capture.h"
#include "macros/recorder.h"
#include "settings/dpi_rate.h"
#include "settings/mouse_settings.h"
#include "skin/hover_states.h"
#include "skin/language_table.h"
#include "skin/layout_apply.h"
#include "ui/form.h"
#include "ui/host.h"
#include "ui/timer.h"

namespace macros {
struct MacroDamage;
}

namespace app {

class TFormLoadingUI;

class TForm1 : public ui::Form,
               public device::LinkWindow,
               private device::LinkHost,
               private skin::HoverContext {
  public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    static constexpr const char* kCaption = "Gaming Mouse v1.0";
    static constexpr int kDevTimerInterval = 3500;
    // Text of controls that cannot be used at the moment (recording, insert panel).
    static constexpr ui::Color kUnavailableText{114, 113, 113};
    static constexpr std::string_view kNoCaptureMessage = "Str036";
    static constexpr std::string_view kNothingRecordedMessage = "Str074";
    static constexpr std::string_view kMacroFullMessage = "Str037";
    static constexpr std::string_view kUnnamedMacro = "Str080";
    static constexpr std::string_view kSelectSlotFirst = "Str081";
    static constexpr std::string_view kMacrosKeptMessage = "Str051";
    static constexpr std::string_view kInputLostMessage = "Str064";
    // Why the end of the session waits: the mouse is being written.
    static constexpr std::string_view kSessionEndWaitsMessage = "Str065";
    // The Macro Page's line while the macros are read behind the shown pages.
    static constexpr std::string_view kReadingMacrosText = "Str048";

    TForm1(ui::Host& host, device::HidBackend& backend);
    ~TForm1() override;

    // Start-up, in its fixed order.
    void FormCreate();
    // The wait window exists only after the main window's creation.
    void setWaitForm(TFormLoadingUI* wait) { waitForm_ = wait; }

    // Closing: Btn_Exit, Confirm and the system close request end here.
    void Btn_ExitClick();
    // Lets the window close, with no device traffic after it; a request that comes while a
    // device operation runs is held until the operation has ended.
    bool FormCloseQuery();
    // Whether the window could close now, asking nothing and changing nothing: the end of the
    // user's session asks this before it is decided (the user may still cancel it).
    bool mayClose() const { return !link_.busy(); }
    // The closing work itself: no input captured and no device traffic after it.
    void FormClose();

    void Img_BaseMouseDown();
    void Btn_WebClick();

    // State others read.
    device::DeviceLink& link() { return link_; }
    image::EditorImage& editorImage() { return image_; }
    ui::Timer& devTimer() { return devTimer_; }
    int pageSelector() const override;
    int skinSet() const { return skinSet_; }
    bool errorPage() const override { return errorPage_; }
    bool pointerOverRecord() const { return pointerOverRecord_; }
    const std::string& webAddress() const { return webAddress_; }

    // device::LinkWindow
    void HideAllMenu() override;
    void LockWindow() override;
    void UnlockWindow() override;
    void ShowWaitWindow() override;
    void HideWaitWindow() override;
    void ShowTransferProgress(int done, int total) override;
    void SetDevTimerEnabled(bool enabled) override;
    void SetReadStepsEnabled(bool on) override { readSteps_.setEnabled(on); }
    void ShowMacroReadProgress(int done, int total) override;
    void ShowStateLabels(StateLabels labels) override;
    void RefreshErrorAP() override;
    void ShowDevicePages() override;
    void ShowNoDevicePage() override;
    void RefreshMacroName() override;
    void UIToMacroName() override;
    void ClearMacroEditor() override;
    void RefreshMouseSystemParameters() override;
    void ApplyMouseSystemParameters() override;
    void ShowMessage(std::string_view languageKey) override;
    void ShowPressedPicture(std::string_view buttonName) override;
    void CloseMainWindow() override;
    void DeviceIdle() override;
    void BackUpMouse(const image::DataBuf& profile, std::string_view stem) override;
    // Where the copies of what a mouse held before its first write go.
    void setBackupFolder(std::string folder) { backupFolder_ = std::move(folder); }
    // image::ConversionHooks
    void RefreshUI() override;
    void UIToDataBuf() override;

    // Texts of the current language table ("Str022", "Title", ...).
    std::string languageText(std::string_view key) const;

    // Skin and language.
    void ApplyLayoutAndLanguage();
    void LoadWebLink();
    void Btn_LangClick(int language);
    const skin::LanguageTable& language() const { return language_; }
    const skin::KeptLayout& keptColors() const { return kept_; }

    // Pages, navigation and locks.
    void NavigationClick(int selector);
    void Btn_MainClick() { NavigationClick(1); }
    void Btn_SwitchClick() { NavigationClick(2); }
    void Btn_FixedClick() { NavigationClick(3); }
    void Btn_AdvClick() { NavigationClick(4); }
    void Btn_BreathClick() { NavigationClick(5); }
    void Btn_MacroClick() { NavigationClick(6); }
    void ClearAP() { HideAllMenu(); }
    void LockPage();
    void UnlockPage();
    void ButtonTypeB_1IconInit();
    void RefreshAPPage();
    void DisplayP1_OnClick();
    void HideP1_OnClick();
    void DisplayP2_OnClick();
    void HideP2_OnClick();
    void DisplayP3_OnClick();
    void HideP3_OnClick();
    void DisplayP4_OnClick();
    void HideP4_OnClick();
    // Shows the function names of a profile (1-3) on the key labels.
    void refreshKeyLabels(int profile);
    // The four fire-key modes as the Advanced Page's edits hold them.
    const keys::FireKeyModeSettings& fireKeySettings() const;
    // The name of a key code as a button shows it, in the current language.
    std::string keyName(const std::string& codeText) const;

    // The assignment editor: function menus of the key labels.
    void ShowLRM_OnClick(int button);
    void ShowPnlMain_OnClick(int button);
    void KeyByTagMouseEnter(ui::Control& entry);
    void KeyStatusMouseEnter(ui::Control& entry);
    void KeyStatusMouseLeave(ui::Control& entry);
    void KeyStatusOnClick(ui::Control& entry);
    void Key_SwitchLRMOnClick(ui::Control& entry);
    void Key_AssemblyClick();
    void LB_NameClick(int row);
    // The combination-key dialog leaves its result here and calls ApplyAssemblyKey. The result
    // goes to the button and profile the dialog was opened for.
    struct PendingCombination {
        std::string name, code;
        bool ready = false;
        int profile = 0, button = 0;
    };
    PendingCombination& pendingCombination() { return pending_; }
    void ApplyAssemblyKey();
    // Closes the combination-key dialog without a result; set by whoever owns the dialog.
    std::function<void()> closeCombinationDialog;
    void ButtonTypeCMouseEnter(int button);
    void ButtonTypeCMouseLeave(int button);
    void LabelRunTimer();
    int currentButton() const { return currentButton_; }

    // DPI levels and report rate on the Advanced Page.
    void DPILevel_OnClick(int level);
    void CurrentDPI_OnClick(int level);
    void ReportRate_OnClick(int rate);
    bool dpiLevelSelected(int level) const {
        return dpiSelected_[static_cast<std::size_t>(level - 1)];
    }
    int currentDpiLevel() const;
    int selectedDpiCount() const { return selectedDpiCount_; }

    // The desktop's mouse settings on the Advanced Page.
    void MouseSettingBar_OnClick(settings::MouseSettings::Bar bar, int step);
    void setMouseSettingsStore(std::unique_ptr<settings::MouseSettingsStore> store) {
        settingsStore_ = std::move(store);
    }
    const settings::MouseSettings& mouseSettings() const { return mouseSettings_; }

    // The light on the Breathing Page.
    void RGBMode_OnClick(int mode);             // 0 Random, 1 Colorful, 2 Custom
    void TimeBar_OnClick(int scale, int step);  // scales 0 off, 1 raise, 2 on, 3 fall
    void LEDColModeChange(int colourMode);      // 1 or 2
    // The colour the light would show, for the light picture: a custom colour only.
    std::optional<ui::Color> lightColour() const;
    void showLightColour();
    void RGBParaValue_OnClick(ui::Control& edit);
    int lightStep(int scale) const { return lightSteps_[static_cast<std::size_t>(scale)]; }
    bool lightAvailable() const { return lightAvailable_; }

    // The macro page.
    void LB_MacroNameClick();
    void MacroToMemo();
    void MemoToMacro();
    void MemoToMacro(int slot);
    void IB_RecDelayClick();
    void IB_DelayTimeClick();
    void IB_NoDelayClick();
    void Edt_DelayChange();
    void Btn_NewClick();
    // The name dialog's result goes to the slot selected at this moment.
    void SetMacroName(const std::string& name);
    std::function<void()> openNameDialog;
    // The insert panel of the macro page.
    void Btn_InsertClick();
    void CB_InsertChange();
    void InsertDelayOption(int option);  // 0 record, 1 default, 2 none
    void Edt_InsertDelayChange();
    void Btn_InsertStartClick();
    void Btn_OKClick();
    void Btn_CancelClick();
    void CloseInsertPanel();
    void CountMacroKeys();
    bool insertPanelOpen() const { return insertMode_; }

    // Recording.
    void Btn_StartClick();
    void KeyboardHook1Receive(int virtualKey, macros::KeyState state);
    void recordMouse(macros::MouseButton button, bool down);
    void setInputCapture(std::unique_ptr<macros::InputCapture> capture) {
        capture_ = std::move(capture);
    }
    bool isRecording() const { return recorder_.recording(); }
    void Btn_ClearClick();
    void Btn_ExportOneClick();
    void Btn_ExportClick();
    void Btn_ImportOneClick();
    void Btn_ImportClick();
    void Btn_DelClick();
    // The selected slot (0-31), or -1.
    int selectedSlot() const;
    // What an unnamed slot is called in the lists and on button labels, in this language.
    std::string macroPlaceholder(std::size_t slot) const;
    void showMacroPlaceholders();
    const std::vector<std::string>& eventLines() const;

    // Profile files.
    void Btn_SaveClick();
    void Btn_LoadClick();
    void MemoToDataBuf_OnClick();

    // Fire-key modes on the Advanced Page.
    void Edt_Repeat1KeyPress(char32_t& ch);
    // Drops everything but digits from a digits-only edit, however the text came in.
    static void keepDigits(ui::Control& edit);
    void RepeatValue_OnClick(ui::Control& edit);
    void DelayTimeValue_OnClick(ui::Control& edit);
    void FireKeyModeCheck(int mode);
    void RefreshFireKeyMode();
    void FireKeyModeToDataBuf() override;
    void FireKeyAndFireKeyModeToDataBuf() override;
    // The repeat and delay texts of a mode (1-4) as the next composition writes them.
    std::string fireKeyRepeatText(int mode) const;
    std::string fireKeyDelayText(int mode) const;
    const keys::FireModeSelection& fireModes() const { return fireModes_; }
    // Profile 1 or 2 while its page is up; 0 (none) otherwise.
    int editableProfile() const;
    ui::Timer& labelRun() { return labelRun_; }
    // Opens the combination-key dialog; set by whoever owns the dialog.
    std::function<void()> openCombinationDialog;

  private:
    class FireKeySettings;
    class MacroNameList;

    void createControls();
    void attachHandlers();
    void setPageSelector(int selector);
    void showPage(int page);
    void applyLanguageTexts();
    void setupMenus();
    void setupFireKeys();
    void setupDpi();
    void setupLight();
    void setupMouseSettings();
    void showMouseSettingBar(settings::MouseSettings::Bar bar);
    void setupMacroPage();
    void fileError(const image::FileError& error, const std::string& path, bool saving);
    // The name a save dialog's choice is written under, with the dialog's extension; nothing
    // when that is another name than the chosen one, it exists, and the user keeps it.
    std::optional<std::string> saveTarget(const std::string& chosen, const ui::FileDialog& dialog);
    // Tells which macro of a file (-1: the file's only one) is damaged and how.
    void damagedMacroFile(const std::string& path, int slot, const macros::MacroDamage& damage);
    // False (after telling the user) when the macro mouse went while a file dialog was open.
    bool macroMouseStillThere();
    macros::DelayOptions delayOptions() const;
    void setMacroPageEnabled(bool enabled);
    void recorded(std::vector<std::string> lines);
    // False (after telling the user) when no system-wide input can be captured.
    bool startCapture();
    // Ends whichever capture runs: the system-wide one or the window's own events.
    void stopCapture();
    // Ends a normal recording and compiles it into the slot it was started for.
    void stopRecording();
    void setupInsertPanel();
    int countLines(char kind) const;
    void showEventList();
    void selectDelayOption(int option);
    // Edt_Delay read-only or not, and its colour, by the delay option and the recording.
    void showDelayEdit();
    void lightToControls();
    void setLightAvailable(bool available);
    // The controls of the Breathing Page that edit the light.
    std::vector<std::string> lightControls() const;
    void lightToImage();
    void showLightStep(int scale, int step);
    void dpiToControls();
    void dpiToImage();
    settings::DpiTexts dpiTexts() const;
    void showDpiLevel(int level, bool selected);
    void setCurrentDpi(int level);
    void markLowestIfCurrentUnselected();
    void showReportRate(int rate);
    void showFireModeSelection();
    void endLabelScrolling();
    void storeForCurrentButton(const std::string& code, const std::string& name);
    void storeKey(int profile, int button, const std::string& code, const std::string& name);
    // A new image or a lost mouse leaves an open combination dialog without its button.
    void abandonCombination();
    void placeSubmenu(ui::Control& submenu, const ui::Control& parent, const ui::Control& entry,
                      bool upward, int leftOffset);
    void fireKeysToEdits();
    ui::Control& control(std::string_view name) const { return at(name); }
    // Runs a modal dialog of the host. The pointer was taken away meanwhile, so the button that
    // opened it is left and shows its normal picture again.
    template <typename Dialog>
    auto modal(Dialog dialog) {
        struct Left {
            TForm1& form;
            ~Left() { form.pointerLeft(); }
        } left{*this};
        return dialog();
    }

    // A file dialog that opens where the last one was left, at first in the documents folder;
    // Load Profile's also offers the backups.
    std::optional<std::string> chooseFile(ui::FileDialog dialog, bool save,
                                          bool offerBackups = false);

    // device::LinkHost
    void sleep(int milliseconds) override { host_.sleep(milliseconds); }
    void processMessages() override { host_.processMessages(); }
    // skin::HoverContext
    int languageSelector() const override;
    void setPointerOverRecord(bool over) override { pointerOverRecord_ = over; }

    ui::Host& host_;
    device::HidTransport transport_;
    image::EditorImage image_;
    device::DeviceLink link_;
    TFormLoadingUI* waitForm_ = nullptr;
    ui::Timer devTimer_{"DevTimer", kDevTimerInterval, true};
    ui::Timer labelRun_{"LabelRun", 200, false};
    // Runs the steps of a background macro read whenever the window has nothing else to do.
    ui::Timer readSteps_{"MacroRead", 0, false};
    // The macros are being read: the Macro Page shows how far and waits.
    bool macrosReading_ = false;
    int currentButton_ = 0;
    struct Scrolling {
        ui::Control* label = nullptr;
        std::string caption;
        int steps = 0;
    } scrolling_;
    PendingCombination pending_;
    macros::Recorder recorder_;
    macros::KeyboardHook keyboardHook_;
    std::unique_ptr<macros::InputCapture> capture_;
    // The recording hears the window's own keys and buttons (no system-wide input here).
    bool windowCapture_ = false;
    settings::MouseSettings mouseSettings_;
    std::unique_ptr<settings::MouseSettingsStore> settingsStore_;

    // Run state that start-up resets; the DPI, fire-key, macro-editing and recording parts
    // of the window work with it.
    int skinSet_ = 1;
    bool errorPage_ = false;
    bool pointerOverRecord_ = false;
    int selectedDpiCount_ = 4;
    std::array<bool, 8> dpiSelected_{};
    // The image's DPI levels and current position are written back as read.
    bool dpiKept_ = false;
    std::array<int, 4> lightSteps_{};
    bool lightAvailable_ = true;
    keys::FireModeSelection fireModes_;
    // The repeat texts, then the delay texts, as the last image showed them.
    std::array<std::string, 8> fireKeyShown_;
    int rememberedReportRate_ = 0;
    bool insertMode_ = false;
    int recordingSlot_ = -1;
    int savedTopItem_ = 0, savedSelectedItem_ = -1;
    std::string webAddress_;
    bool closeHeld_ = false;
    std::string backupFolder_;
    std::string lastFolder_;  // of the last file chosen in a file dialog
    bool backupFailureTold_ = false;
    skin::LanguageTable language_;
    skin::KeptLayout kept_;
    std::unique_ptr<FireKeySettings> fireKeys_;
    std::unique_ptr<MacroNameList> macroNames_;
};

}  // namespace app
