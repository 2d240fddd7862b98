#pragma once
// Applies a layout table to the main window: places, sizes, colours and enables every skinned
// control, key by key in the table's order.
#include <array>

#include "skin/layout_table.h"
#include "ui/form.h"

namespace skin {

// What the table gives for other parts of the window to use later rather than at once.
struct KeptLayout {
    ui::Color dpiSelected{255, 0, 0};
    ui::Color dpiNotSelected{255, 255, 255};
    ui::Color macroText{255, 255, 255};
    ui::Color macroListText{0, 128, 0};
    ui::Color macroListBack{0, 0, 0};
    int macroNameItemHeight = 20;
    // Key labels the layout enables; showing the Mouse Keys Page never reveals the others.
    std::array<bool, 12> keyEnabled{true, true, true, true, true, true,
                                    true, true, true, true, true, true};
};

// A value that is missing or not a number leaves what it would set as it was.
void applyLayoutTable(ui::Form& form, const LayoutTable& table, KeptLayout& kept);

}  // namespace skin
