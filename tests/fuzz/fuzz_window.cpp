#include "fuzz_window.h"

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace fuzzing {

FuzzWindow& FuzzWindow::detected() {
    static FuzzWindow* window = [] {
        auto* w = new FuzzWindow;  // lives for the whole run, as the window of the program does
        w->form.FormCreate();
        w->host.advance(3500);
        require(w->form.link().deviceOpen());
        return w;
    }();
    return *window;
}

std::string writeTempFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    // Removed when the run ends (libFuzzer ends with exit()), so runs leave nothing behind.
    static std::set<std::string> written;
    static const int cleanup = std::atexit([] {
        for (const std::string& p : written) std::filesystem::remove(p);
    });
    (void)cleanup;
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("quorvex-fuzz-" + std::to_string(::getpid()) + "-" + name))
                                  .string();
    written.insert(path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

}  // namespace fuzzing
