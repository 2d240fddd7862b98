#include "skin/layout_apply.h"

#include <functional>
#include <string>
#include <vector>

namespace skin {
namespace {

using Names = std::vector<std::string>;

Names numbered(const std::string& stem, int first, int last) {
    Names names;
    for (int n = first; n <= last; ++n) names.push_back(stem + std::to_string(n));
    return names;
}

Names operator+(Names a, const Names& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class Applier {
  public:
    static constexpr long kLargest = 100000;
    static constexpr long kLargestFont = 96;

    Applier(ui::Form& form, const LayoutTable& table) : form_(form), table_(table) {}

    // A number no window could use (a place or size beyond any screen) counts as missing: the
    // control keeps what it had, and no arithmetic on it can overflow.
    std::optional<long> value(const std::string& key) const {
        const auto v = table_.number(key);
        if (!v || *v < -kLargest || *v > kLargest) return std::nullopt;
        return v;
    }

    // Runs `apply` with the colour of <stem>_R/_G/_B, when all three are numbers from 0 to 255.
    void color(const std::string& stem, const std::function<void(ui::Color)>& apply) const {
        const auto r = value(stem + "_R"), g = value(stem + "_G"), b = value(stem + "_B");
        const auto byte = [](const std::optional<long>& v) { return v && *v >= 0 && *v <= 255; };
        if (byte(r) && byte(g) && byte(b))
            apply(ui::Color::fromRgbValue(*r + 256 * *g + 65536 * *b));
    }

    void forEach(const Names& names, const std::function<void(ui::Control&)>& apply) const {
        for (const std::string& n : names) {
            if (ui::Control* c = form_.find(n)) apply(*c);
        }
    }

    void fontSize(const std::string& key, const Names& names, int delta = 0) const {
        const auto size = value(key);
        if (!size || *size + delta < 1 || *size + delta > kLargestFont) return;
        forEach(names, [&](ui::Control& c) { c.setFontSize(static_cast<int>(*size) + delta); });
    }
    void fontColor(const std::string& stem, const Names& names) const {
        color(stem,
              [&](ui::Color col) { forEach(names, [&](ui::Control& c) { c.setFontColor(col); }); });
    }

    // Moves controls by (X, Y) of a key pair; offsets per control.
    struct Placed {
        std::string name;
        int dx = 0, dy = 0;
    };
    void place(const std::string& stem, const std::vector<Placed>& controls) const {
        const auto x = value(stem + "_X"), y = value(stem + "_Y");
        if (!x || !y) return;
        for (const Placed& p : controls) {
            if (ui::Control* c = form_.find(p.name))
                c->setPosition(static_cast<int>(*x) + p.dx, static_cast<int>(*y) + p.dy);
        }
    }

    // 1 shows the controls and places them; anything else hides them where they are.
    void enable(const std::string& stem, const Names& names) const {
        const auto on = value(stem + "_Enable");
        if (!on) return;
        if (*on != 1) {
            forEach(names, [](ui::Control& c) { c.setVisible(false); });
            return;
        }
        forEach(names, [](ui::Control& c) { c.setVisible(true); });
        std::vector<Placed> placed;
        for (const auto& n : names) placed.push_back({n});
        place(stem, placed);
    }

    // A ten-step scale: picture n at X + 24 (n - 1), its digit at (X + 24 (n - 1) - 4, Y + 8).
    void scale(const std::string& key, const std::string& stem) const {
        std::vector<Placed> placed;
        for (int n = 1; n <= 10; ++n) {
            placed.push_back({"Img_" + stem + std::to_string(n), 24 * (n - 1), 0});
            placed.push_back({"lbl_" + stem + std::to_string(n), 24 * (n - 1) - 4, 8});
        }
        place(key, placed);
    }

    ui::Control* find(const std::string& name) const { return form_.find(name); }

  private:
    ui::Form& form_;
    const LayoutTable& table_;
};

const Names kCommandButtons{"Btn_Confirm", "Btn_Apply", "Btn_Reset", "Btn_Exit"};
const Names kFiles{"Btn_Main", "Btn_Switch", "Btn_Fixed", "Btn_Adv",   "Btn_Breath", "Btn_Macro",
                   "Btn_Save", "Btn_Load",   "Btn_Lang1", "Btn_Lang2", "Btn_Lang3"};
const Names kStateLabels{"lbl_NoDev", "lbl_TypeError", "lbl_IDError"};

}  // namespace

void applyLayoutTable(ui::Form& form, const LayoutTable& table, KeptLayout& kept) {
    const Applier a(form, table);
    const auto withPicture = [](const std::string& button) {
        return Names{button, "Img_" + button.substr(4)};
    };

    a.fontSize("Size_A", kCommandButtons);
    a.fontColor("Color_A", kCommandButtons);
    for (int i = 0; i < 4; ++i)
        a.enable("Btn_A" + std::to_string(i + 1), withPicture(kCommandButtons[i]));

    a.fontSize("Size_B", kFiles);
    a.fontColor("Color_B", kFiles);
    // B1-B5, then B11 (Macro), then B6-B10, as the tables hold them.
    const std::pair<int, const char*> bButtons[] = {
        {1, "Btn_Main"},   {2, "Btn_Switch"}, {3, "Btn_Fixed"}, {4, "Btn_Adv"},
        {5, "Btn_Breath"}, {11, "Btn_Macro"}, {6, "Btn_Save"},  {7, "Btn_Load"},
        {8, "Btn_Lang1"},  {9, "Btn_Lang2"},  {10, "Btn_Lang3"}};
    for (const auto& [n, name] : bButtons) a.enable("Btn_B" + std::to_string(n), withPicture(name));

    a.fontSize("Size_H", kStateLabels);
    a.fontSize("Size_H", {"lbl_CheckDev"}, -7);
    a.fontColor("Color_H", kStateLabels + Names{"lbl_CheckDev"});
    a.place("Error_text",
            {{"lbl_NoDev"}, {"lbl_TypeError"}, {"lbl_IDError"}, {"lbl_CheckDev", 0, 50}});

    const Names keys = numbered("Key", 1, 12);
    a.fontSize("Size_C", keys);
    a.fontColor("Color_C", keys);
    a.place("P1", {{"Img_P1"}});
    for (int n = 1; n <= 12; ++n) {
        const std::string s = std::to_string(n);
        a.enable("Key" + s, {"Key" + s, "Img_Key" + s});
        if (const auto on = a.value("Key" + s + "_Enable")) kept.keyEnabled[n - 1] = *on == 1;
    }

    const Names fireEdits = numbered("Edt_Repeat", 1, 4) + numbered("Edt_DelayTime", 1, 4);
    const Names scaleDigits =
        numbered("lbl_Spd", 1, 10) + numbered("lbl_DbSpd", 1, 10) + numbered("lbl_ScrSpd", 1, 10);
    a.fontSize("Size_D", scaleDigits + numbered("lbl_DPI", 1, 8) + numbered("lbl_FKMode", 1, 4));
    a.color("Color_D_Selected", [&](ui::Color c) { kept.dpiSelected = c; });
    a.color("Color_D_notSelected", [&](ui::Color c) {
        kept.dpiNotSelected = c;
        a.forEach(scaleDigits + fireEdits, [&](ui::Control& ctl) { ctl.setFontColor(c); });
    });
    a.color("Color_D_Back", [&](ui::Color c) {
        a.forEach(fireEdits, [&](ui::Control& ctl) {
            ctl.setBackground(c);
            ctl.setBorderColor(c);
        });
    });
    a.place("P2", {{"Img_P2"}, {"Disable"}});
    // The page lock covers the Advanced Page picture exactly.
    if (ui::Control* page = a.find("Img_P2"); page && a.find("Disable")) {
        a.find("Disable")->setSize(page->bounds().w, page->bounds().h);
    }
    a.scale("Spd", "Spd");
    a.scale("DbSpd", "DbSpd");
    a.scale("ScrSpd", "ScrSpd");
    {
        std::vector<Applier::Placed> dpi;
        for (int n = 1; n <= 8; ++n) {
            dpi.push_back({"Img_DPI" + std::to_string(n), 29 * (n - 1), 0});
            dpi.push_back({"lbl_DPI" + std::to_string(n), 29 * (n - 1) - 6, -28});
        }
        a.place("DPI", dpi);
    }
    a.place("Rep1", {{"Img_Rep1"}, {"lbl_Rep1", -4, -2}});
    a.place("Rep2", {{"Img_Rep2"}, {"lbl_Rep2", -4, -2}});
    for (int n = 1; n <= 4; ++n) {
        const std::string s = std::to_string(n);
        a.place("FKPara" + s, {{"Edt_Repeat" + s}, {"Edt_DelayTime" + s, 0, 22}});
    }
    for (int n = 1; n <= 4; ++n)
        a.place("FKMode" + std::to_string(n), {{"lbl_FKMode" + std::to_string(n)}});

    const Names lightDigits = numbered("lbl_Off", 1, 10) + numbered("lbl_Raise", 1, 10) +
                              numbered("lbl_On", 1, 10) + numbered("lbl_Fall", 1, 10);
    const Names colourEdits{"Edt_Mode1R", "Edt_Mode1G", "Edt_Mode1B",
                            "Edt_Mode2R", "Edt_Mode2G", "Edt_Mode2B"};
    a.fontSize("Size_E", lightDigits);
    a.fontColor("Color_E", lightDigits + colourEdits);
    a.color("Color_E_Back", [&](ui::Color c) {
        a.forEach(colourEdits, [&](ui::Control& ctl) {
            ctl.setBackground(c);
            ctl.setBorderColor(c);
        });
    });
    a.place("P3", {{"Img_P3"}});
    a.scale("OffTime", "Off");
    a.scale("RaiseTime", "Raise");
    a.scale("OnTime", "On");
    a.scale("FallTime", "Fall");
    a.place("LEDMode1", {{"Img_Random"}, {"lbl_Random", -4, -2}});
    a.place("LEDMode2", {{"Img_Colorful"}, {"lbl_Colorful", -4, -2}});
    a.place("LEDMode3", {{"Img_Custom"}, {"lbl_Custom", -4, -2}});
    a.place("LEDColorMode1", {{"Img_LEDColMode1"}, {"lbl_LEDColMode1", -4, -4}});
    a.place("LEDColorMode2", {{"Img_LEDColMode2"}, {"lbl_LEDColMode2", -4, -4}});
    a.place("R1", {{"Edt_Mode1R"}, {"Edt_Mode1G", 0, 22}, {"Edt_Mode1B", 0, 44}});
    a.place("R2", {{"Edt_Mode2R"}, {"Edt_Mode2G", 0, 22}, {"Edt_Mode2B", 0, 44}});
    a.place("LightRing", {{"Img_LightRing"}});

    const Names macroButtons{"Btn_New",
                             "Btn_Clear",
                             "Btn_Start",
                             "Btn_ExportOne",
                             "Btn_Export",
                             "Btn_ImportOne",
                             "Btn_Import",
                             "Btn_Del",
                             "Btn_Insert",
                             "LB_MacroName",
                             "Edt_Delay",
                             "IB_InsertRecDelay",
                             "IB_InsertDelayTime",
                             "IB_InsertNoDelay",
                             "lbl_Delay",
                             "lbl_s_A",
                             "Edt_InsertDelay",
                             "Btn_InsertStart",
                             "Btn_OK",
                             "Btn_Cancel"};
    a.fontSize("Size_F", macroButtons);
    a.fontSize("Size_F", {"CB_Insert"}, -1);
    a.color("Color_F", [&](ui::Color c) {
        kept.macroText = c;
        a.forEach(macroButtons, [&](ui::Control& ctl) {
            if (ctl.name() != "LB_MacroName" && ctl.name() != "Edt_Delay" &&
                ctl.name() != "Edt_InsertDelay") {
                ctl.setFontColor(c);
            }
        });
    });
    const Names macroLists{"LB_MacroName", "LB_macro", "Edt_Delay", "Edt_InsertDelay"};
    a.color("Color_F_Font", [&](ui::Color c) {
        kept.macroListText = c;
        a.forEach(macroLists, [&](ui::Control& ctl) { ctl.setFontColor(c); });
    });
    a.color("Color_F_Back", [&](ui::Color c) {
        kept.macroListBack = c;
        a.forEach(macroLists, [&](ui::Control& ctl) { ctl.setBackground(c); });
        a.forEach({"Edt_Delay", "Edt_InsertDelay"},
                  [&](ui::Control& ctl) { ctl.setBorderColor(c); });
    });
    a.place("P4", {{"Img_P4"}});
    a.place("MacroName", {{"LB_MacroName"}});
    // A list row is at least one pixel high, and Windows' list boxes take at most 255.
    if (const auto h = a.value("MacroNameHeight"); h && *h >= 1 && *h <= 255)
        kept.macroNameItemHeight = static_cast<int>(*h);
    a.place("New", {{"Btn_New"},
                    {"Img_New"},
                    {"Btn_Start", 0, 26},
                    {"Img_Start", 0, 26},
                    {"Btn_Clear", 0, 52},
                    {"Img_Clear", 0, 52},
                    {"Btn_ExportOne", 0, 78},
                    {"Img_ExportOne", 0, 78},
                    {"Btn_Export", 0, 104},
                    {"Img_Export", 0, 104},
                    {"Btn_ImportOne", 0, 130},
                    {"Img_ImportOne", 0, 130},
                    {"Btn_Import", 0, 156},
                    {"Img_Import", 0, 156}});
    a.place("Del", {{"Btn_Del"}, {"Img_Del"}, {"Btn_Insert", 0, 26}, {"Img_Insert", 0, 26}});
    a.place("MacroContent", {{"LB_macro"}});
    a.place("DelayTime", {{"Gb_Delay"}});
    a.place("RecDelay", {{"LED_RecDelay"},
                         {"LED_DelayTime", 0, 23},
                         {"LED_NoDelay", 0, 46},
                         {"IB_RecDelay", -2, 0},
                         {"IB_DelayTime", -2, 23},
                         {"IB_NoDelay", -2, 46}});
    a.place("DelayEdit", {{"Edt_Delay"}});
    a.place("Insert", {{"Gb_Insert"}, {"Img_InsertBase"}});
    a.place("InsertList", {{"CB_Insert"}});
    a.place("InsertRecDelay", {{"LED_InsertRecDelay"},
                               {"LED_InsertDelayTime", 0, 23},
                               {"LED_InsertNoDelay", 0, 46},
                               {"IB_InsertRecDelay", -2, 0},
                               {"IB_InsertDelayTime", -2, 23},
                               {"IB_InsertNoDelay", -2, 46}});
    a.place("InsertDelayEdit", {{"Edt_InsertDelay"}, {"lbl_Delay", -74, 2}, {"lbl_s_A", 44, 2}});
    a.place("InsertStart", {{"Btn_InsertStart"}, {"Img_InsertStart"}});
    a.place("InsertOK", {{"Btn_OK"}, {"Img_OK"}, {"Btn_Cancel", 46, 0}, {"Img_Cancel", 46, 0}});
}

}  // namespace skin
