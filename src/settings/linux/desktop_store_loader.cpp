// The system store on Linux: loaded from the desktop settings module, found beside the program
// (the build tree) or in the installed library folder.
#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>

#include "settings/linux/desktop_store_module.h"
#include "settings/mouse_settings.h"

namespace settings {
namespace {

std::string programFolder() {
    std::array<char, 4096> path{};
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) return ".";
    const std::string program(path.data(), static_cast<std::size_t>(length));
    return program.substr(0, program.rfind('/'));
}

void* openModule() {
    const std::string folder = programFolder();
    // QUORVEX_INSTALLED_MODULE_FOLDER is the installed module folder relative to the installed
    // program's folder.
    for (const std::string& candidate :
         {folder + "/" + kDesktopSettingsModule,
          folder + "/" QUORVEX_INSTALLED_MODULE_FOLDER "/" + kDesktopSettingsModule}) {
        if (access(candidate.c_str(), F_OK) != 0) continue;
        // Never closed: the store it makes lives as long as the program.
        if (void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) return module;
        std::fprintf(stderr, "The desktop's mouse settings are not reached: %s\n", dlerror());
        return nullptr;
    }
    std::fprintf(
        stderr, "The desktop's mouse settings are not reached: %s is neither in %s nor in %s/%s\n",
        kDesktopSettingsModule, folder.c_str(), folder.c_str(), QUORVEX_INSTALLED_MODULE_FOLDER);
    return nullptr;
}

}  // namespace

std::unique_ptr<MouseSettingsStore> makeSystemMouseSettingsStore() {
    void* module = openModule();
    if (!module) return nullptr;
    const auto entry =
        reinterpret_cast<NewDesktopMouseSettingsStore>(dlsym(module, kDesktopSettingsEntry));
    if (!entry) {
        std::fprintf(stderr, "The desktop's mouse settings are not reached: %s\n", dlerror());
        return nullptr;
    }
    return std::unique_ptr<MouseSettingsStore>(entry());
}

}  // namespace settings
