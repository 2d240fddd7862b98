// The macro page: the slot names, the event list of the selected slot, the delay options,
// and clearing and deleting.
#include "app/main_form.h"
#include "image/hex_text.h"
#include "macros/macro_model.h"
#include "skin/pictures.h"

namespace app {
namespace {

const char* const kIcons[] = {"Event_Delay", "Event_Press", "Event_Release"};
const char* const kDelayLamps[] = {"LED_RecDelay", "LED_DelayTime", "LED_NoDelay"};

std::span<image::Byte> record(image::DataBuf& buf, std::size_t slot) {
    return std::span<image::Byte>(buf.macroNames)
        .subspan(slot * macros::kRecordSize, macros::kRecordSize);
}

// The key name of an event line: between its kind and " CODE:xxxx"; empty for a delay.
std::string keyNameOfLine(const std::string& line) {
    if (macros::lineKind(line) == 0 || line.size() < 12) return {};
    return line.substr(2, line.size() - 12);
}

}  // namespace

void TForm1::setupMacroPage() {
    control("LB_MacroName").onClick = [this](ui::Control&) { LB_MacroNameClick(); };
    control("IB_RecDelay").onClick = [this](ui::Control&) { IB_RecDelayClick(); };
    control("IB_DelayTime").onClick = [this](ui::Control&) { IB_DelayTimeClick(); };
    control("IB_NoDelay").onClick = [this](ui::Control&) { IB_NoDelayClick(); };
    ui::Control& delay = control("Edt_Delay");
    delay.setCaption("50");
    delay.onKeyPress = [this](ui::Control&, char32_t& ch) { Edt_Repeat1KeyPress(ch); };
    delay.onChange = [this](ui::Control&) { Edt_DelayChange(); };
    control("Btn_Clear").onClick = [this](ui::Control&) { Btn_ClearClick(); };
    control("Btn_Start").onClick = [this](ui::Control&) { Btn_StartClick(); };
    control("Btn_New").onClick = [this](ui::Control&) { Btn_NewClick(); };
    control("Btn_ExportOne").onClick = [this](ui::Control&) { Btn_ExportOneClick(); };
    control("Btn_Export").onClick = [this](ui::Control&) { Btn_ExportClick(); };
    control("Btn_ImportOne").onClick = [this](ui::Control&) { Btn_ImportOneClick(); };
    control("Btn_Import").onClick = [this](ui::Control&) { Btn_ImportClick(); };
    control("Btn_Del").onClick = [this](ui::Control&) { Btn_DelClick(); };
    selectDelayOption(0);
}

// ---- names ----

void TForm1::RefreshMacroName() {
    ui::Control& names = control("LB_MacroName");
    ui::Control& chooser = control("LB_Name");
    std::vector<std::string> list;
    for (std::size_t n = 0; n < macros::kSlotCount; ++n)
        list.push_back(macros::recordName(record(image_.dataBuf, n)));
    const int selected = names.itemIndex();
    names.setItems(list);
    chooser.setItems(list);
    names.setItemIndex(selected);
    showMacroPlaceholders();
}

std::string TForm1::macroPlaceholder(std::size_t slot) const {
    std::string text = languageText(kUnnamedMacro);
    if (const auto at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, std::to_string(slot + 1));
    return text;
}

void TForm1::showMacroPlaceholders() {
    // An unnamed slot is still a slot: the lists show it by its number, the name stays empty.
    std::vector<std::string> texts;
    for (std::size_t n = 0; n < macros::kSlotCount; ++n) texts.push_back(macroPlaceholder(n));
    control("LB_MacroName").setItemPlaceholders(texts);
    control("LB_Name").setItemPlaceholders(std::move(texts));
}

void TForm1::UIToMacroName() {
    const auto& names = control("LB_MacroName").items();
    for (std::size_t n = 0; n < macros::kSlotCount && n < names.size(); ++n) {
        // An unchanged name keeps its record's bytes, also those of an erased record.
        if (names[n] == macros::recordName(record(image_.dataBuf, n))) continue;
        macros::setRecordName(record(image_.dataBuf, n), names[n]);
    }
}

void TForm1::ClearMacroEditor() {
    control("LB_MacroName").clearItems();
    control("LB_macro").clearItems();
    control("mmo_macro").clearItems();
    control("mmo_wrscript").clearItems();
}

// ---- the selected slot ----

int TForm1::selectedSlot() const {
    const int slot = control("LB_MacroName").itemIndex();
    return slot >= 0 && slot < static_cast<int>(macros::kSlotCount) ? slot : -1;
}

const std::vector<std::string>& TForm1::eventLines() const {
    return control("mmo_macro").items();
}

void TForm1::showEventList() {
    // The macro list draws event line i + 1 as item i: its icon and its text.
    std::vector<std::string> texts, icons;
    const auto& lines = eventLines();
    for (std::size_t i = 1; i < lines.size(); ++i) {
        texts.push_back(macros::lineDisplayText(lines[i]));
        icons.push_back(kIcons[macros::lineKind(lines[i])]);
    }
    ui::Control& list = control("LB_macro");
    const int selected = list.itemIndex();
    list.setItems(std::move(texts));
    list.setItemIcons(std::move(icons));
    list.setItemIndex(selected);
    list.setWarnLastItem(recorder_.full());
}

void TForm1::LB_MacroNameClick() {
    recorder_.setCounts(0, 0);
    control("LB_macro").clearItems();
    control("mmo_macro").clearItems();
    control("mmo_wrscript").clearItems();
    const int slot = selectedSlot();
    if (slot < 0) return;
    const std::uint16_t length =
        macros::dataLength(record(image_.dataBuf, static_cast<std::size_t>(slot)));
    if (length < 1 || length > macros::kBlockSize) return;
    const auto& block = image_.dataBuf.macros[static_cast<std::size_t>(slot)];
    control("mmo_wrscript")
        .setItems({image::toHexText(std::span<const image::Byte>(block).first(length))});
    MacroToMemo();
}

void TForm1::MacroToMemo() {
    const int slot = selectedSlot();
    if (slot < 0) return;
    const auto s = static_cast<std::size_t>(slot);
    const auto list = macros::MacroToMemo(image_.dataBuf.macros[s],
                                          macros::dataLength(record(image_.dataBuf, s)));
    control("mmo_macro").setItems(list.lines);
    showEventList();
    control("LB_macro").setItemIndex(static_cast<int>(list.lines.size()) - 2);
    switch (list.mode) {
        case macros::DelayMode::None:
            IB_NoDelayClick();
            break;
        case macros::DelayMode::Default:
            IB_DelayTimeClick();
            control("Edt_Delay").setCaption(std::to_string(list.defaultDelay));
            Edt_DelayChange();  // four delays of 65535 are more than the edit takes
            break;
        case macros::DelayMode::Recorded:
            IB_RecDelayClick();
            break;
    }
}

void TForm1::MemoToMacro() {
    MemoToMacro(selectedSlot());
}

void TForm1::MemoToMacro(int slot) {
    if (slot < 0 || slot >= static_cast<int>(macros::kSlotCount)) return;
    const auto s = static_cast<std::size_t>(slot);
    bool cut = false;
    const std::vector<image::Byte> bytes = macros::MemoToMacro(eventLines(), &cut);
    control("mmo_wrscript").setItems({image::toHexText(bytes)});
    std::copy(bytes.begin(), bytes.end(), image_.dataBuf.macros[s].begin());
    macros::setDataLength(record(image_.dataBuf, s), static_cast<std::uint16_t>(bytes.size()));
    if (!cut) return;
    // The list shows what the slot holds, never events that were not stored.
    if (slot == selectedSlot()) MacroToMemo();
    ShowMessage(kMacroFullMessage);
}

// ---- delay options ----

void TForm1::selectDelayOption(int option) {
    control("gbDelayMode").setItemIndex(option);
    for (int i = 0; i < 3; ++i)
        skin::showPicture(control(kDelayLamps[i]), i == option ? "RdS_E" : "RdS_D");
    showDelayEdit();
}

void TForm1::showDelayEdit() {
    // Only the default delay is typed in; the other options, and a running recording, show it
    // greyed.
    const bool editable = control("gbDelayMode").itemIndex() == 1;
    const bool recording = recorder_.recording() && !recorder_.inserting();
    ui::Control& e = control("Edt_Delay");
    e.setReadOnly(!editable);
    e.setFontColor(editable && !recording ? kept_.macroListText : kUnavailableText);
}

void TForm1::IB_RecDelayClick() {
    selectDelayOption(0);
}
void TForm1::IB_DelayTimeClick() {
    selectDelayOption(1);
}
void TForm1::IB_NoDelayClick() {
    selectDelayOption(2);
}

void TForm1::Edt_DelayChange() {
    ui::Control& e = control("Edt_Delay");
    keepDigits(e);
    long v = 0;
    for (char ch : e.caption()) v = v * 10 + (ch - '0');
    if (e.caption().empty() || v < 1) e.setCaption("1");
    if (v > 65530) e.setCaption("65530");
}

// ---- renaming, clearing and deleting ----

void TForm1::Btn_NewClick() {
    if (selectedSlot() < 0) {
        host_.showMessage(languageText(kSelectSlotFirst));
        return;
    }
    skin::showPressed(*this, "Btn_New");
    if (openNameDialog) openNameDialog();
}

void TForm1::SetMacroName(const std::string& name) {
    const int slot = selectedSlot();
    if (name.empty() || slot < 0) return;
    control("LB_MacroName").setItem(static_cast<std::size_t>(slot), name);
    control("LB_Name").setItem(static_cast<std::size_t>(slot), name);
}

void TForm1::Btn_ClearClick() {
    const int slot = selectedSlot();
    if (slot < 0) return;
    skin::showPressed(*this, "Btn_Clear");
    if (!modal([&] { return host_.askYesNo(languageText("Str430")); })) return;
    control("LB_macro").clearItems();
    control("mmo_macro").clearItems();
    control("mmo_wrscript").clearItems();
    const auto s = static_cast<std::size_t>(slot);
    macros::setDataLength(record(image_.dataBuf, s), 0);
    image_.dataBuf.macros[s].fill(0xFF);
}

void TForm1::Btn_DelClick() {
    ui::Control& list = control("LB_macro");
    const int s = list.itemIndex();
    std::vector<std::string> lines = eventLines();
    if (selectedSlot() < 0 || s < 0 || static_cast<std::size_t>(s) + 1 >= lines.size()) return;
    skin::showPressed(*this, "Btn_Del");
    const std::size_t at = static_cast<std::size_t>(s) + 1;
    const std::string name = keyNameOfLine(lines[at]);
    int select = s - 1;
    switch (macros::lineKind(lines[at])) {
        case 1: {
            // The press goes with the first later line of the same key.
            for (std::size_t k = at + 1; k < lines.size(); ++k) {
                if (keyNameOfLine(lines[k]) == name) {
                    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(k));
                    break;
                }
            }
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
            break;
        }
        case 2: {
            // The release goes with the nearest earlier line of the same key.
            std::size_t partner = 0;
            for (std::size_t k = at - 1; k >= 1; --k) {
                if (keyNameOfLine(lines[k]) == name) {
                    partner = k;
                    break;
                }
            }
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
            if (partner) {
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(partner));
                select = s - 2;
            }
            break;
        }
        default:
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
            break;
    }
    if (select < 0 && lines.size() > 1) select = 0;
    control("mmo_macro").setItems(lines);
    showEventList();
    list.setItemIndex(select);
    MemoToMacro();
    CountMacroKeys();
}

}  // namespace app
