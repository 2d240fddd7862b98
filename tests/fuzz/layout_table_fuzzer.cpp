// Layout tables, read under each section name the program looks up and applied to the window.
#include "fuzz_window.h"
#include "skin/layout_apply.h"
#include "skin/layout_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto* window = new fuzzing::FuzzWindow;  // the window's controls; no mouse needed
    for (const char* section : {"org", "org1", "org2", "org3"}) {
        const auto table = skin::LayoutTable::parse({data, size}, section);
        for (const std::string& key : table.keys()) {
            (void)table.number(key);
            (void)table.text(key);
        }
        skin::KeptLayout kept;
        skin::applyLayoutTable(window->form, table, kept);
        fuzzing::require(kept.macroNameItemHeight >= 1 && kept.macroNameItemHeight <= 255);
    }
    return 0;
}
