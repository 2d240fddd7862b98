#include "app/main_form.h"

#include "app/milestone.h"
#include "app/wait_form.h"
#include "image/backup_file.h"
#include "image/builtin_image.h"
#include "image/key_code_texts.h"
#include "image/sections.h"
#include "keys/key_code.h"
#include "skin/pictures.h"

namespace app {

// The fire-key settings as the Advanced Page's edits and the FireKey section hold them.
class TForm1::FireKeySettings : public keys::FireKeyModeSettings {
  public:
    explicit FireKeySettings(const TForm1& form) : form_(form) {}
    std::string repeatText(int mode) const override { return form_.fireKeyRepeatText(mode); }
    std::string delayText(int mode) const override { return form_.fireKeyDelayText(mode); }
    std::uint8_t fireKeyByte2(int mode) const override {
        return form_.image_
            .sectionBuf[image::kFireKey.offset + 4 * static_cast<std::size_t>(mode - 1) + 2];
    }

  private:
    const TForm1& form_;
};

// The macro names of the button menu's chooser, by slot address.
class TForm1::MacroNameList : public keys::MacroNames {
  public:
    explicit MacroNameList(const TForm1& form) : form_(form) {}
    std::optional<std::string> nameAtAddress(std::uint16_t address) const override {
        const ui::Control& chooser = form_.control("LB_Name");
        for (std::size_t slot = 0; slot < chooser.items().size() && slot < image::kMacroCount;
             ++slot) {
            if (keys::macroSlotAddress(static_cast<int>(slot)) == address)
                return chooser.shownItem(slot);
        }
        return std::nullopt;
    }

  private:
    const TForm1& form_;
};

TForm1::TForm1(ui::Host& host, device::HidBackend& backend)
    : ui::Form("TForm1"),
      host_(host),
      transport_(backend),
      link_(transport_, *this, *this, image_),
      fireKeys_(std::make_unique<FireKeySettings>(*this)),
      macroNames_(std::make_unique<MacroNameList>(*this)) {
    setCaption(kCaption);
    backupFolder_ = image::defaultBackupFolder();
    createControls();
    attachHandlers();
    setupMenus();
    setupFireKeys();
    setupDpi();
    setupLight();
    setupMouseSettings();
    setupMacroPage();
    setupInsertPanel();
    devTimer_.onTimer = [this] { link_.DevTimerTimer(); };
    readSteps_.onTimer = [this] { link_.ReadStep(); };
    link_.setBackgroundMacroRead(true);
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    // 1. The tray icon.
    host_.setTrayIcon("MAINICON");
    // 2. Run state.
    selectedDpiCount_ = 4;
    fireModes_ = {};
    link_.setReportRateChanged(false);
    rememberedReportRate_ = 0;
    link_.clearDeviceKind();
    errorPage_ = false;
    insertMode_ = false;
    recorder_.stop();
    // 3. Centred on the screen; the divisions truncate towards zero.
    const ui::Size screen = host_.screenSize();
    setBounds({(screen.w - kWidth) / 2, (screen.h - kHeight) / 2, kWidth, kHeight});
    // 4. The window lock covers everything.
    control("Disable_All").setBounds({0, 0, kWidth, kHeight});
    // 5. Page 1 shown, the others hidden.
    DisplayP1_OnClick();
    HideP2_OnClick();
    HideP3_OnClick();
    HideP4_OnClick();
    // 6. Pictures and the web link.
    skin::LoadSkinImages(*this, pageSelector());
    LoadWebLink();
    // 7. Skin set 1: layout and language.
    skinSet_ = 1;
    ApplyLayoutAndLanguage();
    control("LB_MacroName").setItemHeight(kept_.macroNameItemHeight);
    // 8. The built-in image.
    image::LoadBuiltInImage(image_.dataBuf);
    // 9, 10, 17. Identity, layout type and ModelId reference (the link keeps them; entry 1 of
    // its identity table is the built-in identity).
    link_.TakeStartupIdentity();
    ui::Control& special = control("Pnl_Special");
    if (link_.imageLayout() == image::kLayout29) special.setSize(special.bounds().w, 218);
    if (link_.imageLayout() == image::kLayout58) special.setSize(special.bounds().w, 266);
    // 11. No key codes until the image is shown.
    image::clearKeyCodeTexts(image_.keyCodeTexts);
    // 12. Macro names.
    RefreshMacroName();
    // 13. Show the image.
    image::DataBufToUI(image_, link_.conversionContext(), *this);
    // 14. The desktop's mouse settings.
    RefreshMouseSystemParameters();
    // 15. The application title (the program entry set "Gaming Mouse").
    if (const std::string title = languageText("Title"); !title.empty())
        host_.setApplicationTitle(title);
    // 16. No mouse yet.
    link_.reset();
    // 18. Right-aligned number edits.
    for (const char* e :
         {"Edt_Repeat1", "Edt_Repeat2", "Edt_Repeat3", "Edt_Repeat4", "Edt_DelayTime1",
          "Edt_DelayTime2", "Edt_DelayTime3", "Edt_DelayTime4", "Edt_Mode1R", "Edt_Mode1G",
          "Edt_Mode1B", "Edt_Mode2R", "Edt_Mode2G", "Edt_Mode2B"}) {
        control(e).setAlignment(ui::Align::Right);
    }
    // 19. The language of the skin set.
    Btn_LangClick(skinSet_);
    // 20. Paint.
    host_.attachTimer(devTimer_);
    host_.attachTimer(readSteps_);
    host_.repaint(*this);
    // A mouse that is already there is opened as soon as the window shows, not at the first tick.
    host_.afterFirstPaint([this] { link_.DevTimerTimer(); });
}

void TForm1::attachHandlers() {
    skin::attachHoverHandlers(*this, *this);
    const auto click = [this](const char* name, std::function<void()> f) {
        control(name).onClick = [f = std::move(f)](ui::Control&) { f(); };
    };
    control("Img_Base").onMouseDown = [this](ui::Control&, ui::MouseButton, int, int) {
        Img_BaseMouseDown();
    };
    control("Img_Base").onClick = [this](ui::Control&) { ClearAP(); };
    control("Img_P1").onClick = [this](ui::Control&) { ClearAP(); };
    click("Btn_Exit", [this] { Btn_ExitClick(); });
    click("Btn_Web", [this] { Btn_WebClick(); });
    click("Btn_Apply", [this] { link_.Btn_ApplyClick(); });
    click("Btn_Confirm", [this] { link_.Btn_ConfirmClick(); });
    click("Btn_Reset", [this] { link_.Btn_ResetClick(); });
    click("Btn_Main", [this] { Btn_MainClick(); });
    click("Btn_Switch", [this] { Btn_SwitchClick(); });
    click("Btn_Fixed", [this] { Btn_FixedClick(); });
    click("Btn_Adv", [this] { Btn_AdvClick(); });
    click("Btn_Breath", [this] { Btn_BreathClick(); });
    click("Btn_Macro", [this] { Btn_MacroClick(); });
    click("Btn_Save", [this] { Btn_SaveClick(); });
    click("Btn_Load", [this] { Btn_LoadClick(); });
    click("Btn_Lang1", [this] { Btn_LangClick(1); });
    click("Btn_Lang2", [this] { Btn_LangClick(2); });
    click("Btn_Lang3", [this] { Btn_LangClick(3); });
}

// ---- closing and the window itself ----

void TForm1::Btn_ExitClick() {
    host_.closeMainWindow();
}

bool TForm1::FormCloseQuery() {
    // Cutting a transfer short would leave the mouse with erased sectors.
    if (!mayClose()) {
        closeHeld_ = true;
        return false;
    }
    // A read behind the pages ends first, under the wait window; the window closes after it.
    if (link_.readingInBackground()) {
        closeHeld_ = true;
        host_.post([this] { link_.CompleteRead(); });
        return false;
    }
    FormClose();
    return true;
}

void TForm1::FormClose() {
    // A recording ends with the window: no input is captured any more.
    stopCapture();
    recorder_.stop();
    devTimer_.setEnabled(false);
    link_.reset();
}

void TForm1::DeviceIdle() {
    if (!closeHeld_) return;
    closeHeld_ = false;
    host_.closeMainWindow();
}

void TForm1::Img_BaseMouseDown() {
    HideAllMenu();
    host_.startWindowMove();
}

void TForm1::Btn_WebClick() {
    skin::showPressed(*this, "Btn_Web");
    host_.openUrl(webAddress_);
}

// ---- what the device link asks of the window ----

void TForm1::HideAllMenu() {
    for (const char* menu : {"Pnl_LRM", "Pnl_Main", "Pnl_MseKey", "Pnl_Special", "Pnl_ACPI",
                             "Pnl_Media", "Pnl_WWW", "Pnl_Fire", "LB_Name"}) {
        control(menu).setVisible(false);
    }
}

void TForm1::LockWindow() {
    control("Disable_All").setVisible(true);
    bringToFront(control("Disable_All"));
    control("Gb_Delay").setEnabled(false);
    control("Gb_Insert").setEnabled(false);
}

void TForm1::UnlockWindow() {
    control("Disable_All").setVisible(false);
    control("Gb_Delay").setEnabled(!recorder_.recording());  // no option changes mid-recording
    control("Gb_Insert").setEnabled(true);
    if (link_.deviceOpen() && !errorPage_) {
        reportMilestone("editable");
        if (link_.deviceKind() == device::DeviceKind::Macro && !link_.readingInBackground())
            reportMilestone("macros");
    }
}

void TForm1::ShowMacroReadProgress(int done, int total) {
    ui::Control& line = control("lbl_MacroReading");
    const bool reading = total > 0;
    if (reading)
        line.setCaption(languageText(kReadingMacrosText) + " " +
                        std::to_string(done * 100 / total) + " %");
    if (reading == macrosReading_) return;
    macrosReading_ = reading;
    setMacroPageEnabled(!reading);
    control("Btn_Start").setEnabled(!reading);  // nothing is recorded over a macro still coming
    line.setVisible(reading && control("Img_P4").visible());
    if (reading) return;
    // The selected slot shows what came.
    LB_MacroNameClick();
    reportMilestone("macros");
}

void TForm1::ShowWaitWindow() {
    if (waitForm_) waitForm_->show();
}

void TForm1::HideWaitWindow() {
    if (waitForm_) waitForm_->hide();
}

void TForm1::ShowTransferProgress(int done, int total) {
    if (waitForm_) waitForm_->showProgress(done, total);
}

void TForm1::SetDevTimerEnabled(bool enabled) {
    devTimer_.setEnabled(enabled);
}

void TForm1::ShowStateLabels(StateLabels labels) {
    control("lbl_TypeError").setVisible(labels == StateLabels::TypeError);
    control("lbl_IDError").setVisible(labels == StateLabels::IdError);
    control("lbl_NoDev").setVisible(false);
    control("lbl_CheckDev").setVisible(false);
}

void TForm1::ShowMessage(std::string_view languageKey) {
    modal([&] { return host_.showMessage(languageText(languageKey)); });
}

void TForm1::ShowPressedPicture(std::string_view buttonName) {
    skin::showPressed(*this, buttonName);
}

void TForm1::CloseMainWindow() {
    host_.closeMainWindow();
}

std::string TForm1::languageText(std::string_view key) const {
    return language_.text(key);
}

int TForm1::pageSelector() const {
    return control("gbPageCtl").itemIndex() + 1;
}

int TForm1::languageSelector() const {
    return control("gbLang").itemIndex() + 1;
}

void TForm1::setPageSelector(int selector) {
    control("gbPageCtl").setItemIndex(selector - 1);
}

const keys::FireKeyModeSettings& TForm1::fireKeySettings() const {
    return *fireKeys_;
}

std::string TForm1::keyName(const std::string& codeText) const {
    return keys::KeyCodeToName(codeText, language_, *fireKeys_, *macroNames_);
}

// ---- the image in the controls ----

void TForm1::RefreshUI() {
    abandonCombination();
    dpiToControls();
    lightToControls();
    fireKeysToEdits();
    RefreshFireKeyMode();
    // The image's current profile selects its navigation button and shows its keys, unless
    // another page is up: its button stays the selected one (a Load Profile or Reset there).
    const int profile = image_.sectionBuf[image::kParameterB.offset + 2];
    const bool otherPageUp = !errorPage_ && pageSelector() >= 4;
    if (profile >= 0 && profile <= 2 && !otherPageUp) {
        for (int s = 1; s <= 6; ++s)
            skin::showPicture(control(skin::navigationPicture(s)),
                              s == profile + 1 ? "SetS_02" : "SetS_01");
        skin::showPicture(control("Img_P1"), "L" + std::to_string(skinSet_) + "_Back1");
        setPageSelector(profile + 1);
        refreshKeyLabels(profile + 1);
    }
}

void TForm1::UIToDataBuf() {
    dpiToImage();
    lightToImage();
    // Page selector states 1 to 3 are the current profile; the others leave it.
    const int selector = pageSelector();
    if (selector >= 1 && selector <= 3)
        image_.sectionBuf[image::kParameterB.offset + 2] = static_cast<image::Byte>(selector - 1);
}

void TForm1::refreshKeyLabels(int profile) {
    for (int b = 1; b <= 12; ++b) {
        control("Key" + std::to_string(b))
            .setCaption(keyName(image_.keyCodeTexts[profile - 1][b - 1]));
    }
}

}  // namespace app
