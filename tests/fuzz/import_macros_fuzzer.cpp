// Import One and Import All through the window: a file of any bytes is refused with a message
// or replaces macros, and the macro page shows what it holds afterwards.
#include "fuzz_window.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& w = fuzzing::FuzzWindow::detected();
    static const bool onMacroPage = [&] {
        w.form.Btn_MacroClick();
        return true;
    }();
    (void)onMacroPage;
    const std::string file = fuzzing::writeTempFile("macros.bin", data, size);
    const int slot = size > 0 ? data[0] % 32 : 0;
    w.form.at("LB_MacroName").setItemIndex(slot);
    w.form.LB_MacroNameClick();
    w.host.openNames = {file};
    w.form.Btn_ImportOneClick();
    w.host.openNames = {file};
    w.form.Btn_ImportClick();
    // Every slot's events show, as a user clicking through the list would see them.
    for (int n = 0; n < 32; n += 7) {
        w.form.at("LB_MacroName").setItemIndex(n);
        w.form.LB_MacroNameClick();
    }
    w.host.messages.clear();
    return 0;
}
