// Load Profile through the window, with a detected mouse: any file is refused with a message or
// loaded; a loaded profile saved, loaded and saved again gives the same file.
#include <fstream>
#include <iterator>

#include "fuzz_window.h"

namespace {

std::vector<char> contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& w = fuzzing::FuzzWindow::detected();
    const std::string file = fuzzing::writeTempFile("profile.bin", data, size);
    w.host.messages.clear();
    w.host.openNames = {file};
    w.form.Btn_LoadClick();
    if (!w.host.messages.empty()) return 0;  // refused, and told

    const std::string saved = fuzzing::writeTempFile("saved.bin", nullptr, 0);
    const std::string again = fuzzing::writeTempFile("again.bin", nullptr, 0);
    w.host.saveNames = {saved};
    w.form.Btn_SaveClick();
    w.host.openNames = {saved};
    w.form.Btn_LoadClick();
    w.host.saveNames = {again};
    w.form.Btn_SaveClick();
    fuzzing::require(w.host.messages.empty());
    fuzzing::require(contents(saved) == contents(again));
    return 0;
}
