// quorvex-ctl: the mouse from a terminal, through the editor's own device link.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/mouse_session.h"
#include "image/backup_file.h"
#include "select_backend.h"

namespace {

constexpr const char* kUsage =
    "usage: quorvex-ctl [--simulated-mouse[=macro|image]] [--hidraw-dir DIR] COMMAND\n"
    "commands:\n"
    "  info        show the mouse's ids, kind, layout, flash class and firmware facts\n"
    "  dump FILE   save what the mouse holds as a profile file\n"
    "  load FILE   write a profile file to the mouse (checked as Load Profile checks it)\n"
    "  reset       write the factory settings to the mouse\n"
    "load and reset first back up what the mouse holds, as the editor does, into\n"
    "$XDG_DATA_HOME/quorvex/backups (~/.local/share/quorvex/backups); the newest ten are kept\n"
    "exit codes: 0 done, 2 usage, 3 no mouse, 4 mouse refused, 5 bad file, 6 transfer failed\n";

int usage(const std::string& problem) {
    if (!problem.empty()) std::fprintf(stderr, "quorvex-ctl: %s\n", problem.c_str());
    std::fputs(kUsage, stderr);
    return cli::kUsage;
}

// Commands and how many arguments each takes.
int argumentsOf(const std::string& command) {
    if (command == "info" || command == "reset") return 0;
    if (command == "dump" || command == "load") return 1;
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    device::BackendChoice choice = device::BackendChoice::fromEnvironment();
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return cli::kOk;
        }
        if (arg == "--simulated-mouse") {
            choice.simulatedMouse = "macro";
        } else if (arg.starts_with("--simulated-mouse=")) {
            choice.simulatedMouse = arg.substr(std::strlen("--simulated-mouse="));
        } else if (arg == "--hidraw-dir") {
            if (++i == argc) return usage("--hidraw-dir needs a folder");
            choice.hidrawDirectory = argv[i];
        } else if (arg.starts_with("-")) {
            return usage("unknown option " + arg);
        } else {
            words.push_back(arg);
        }
    }
    if (words.empty()) return usage("no command given");
    const int wanted = argumentsOf(words[0]);
    if (wanted < 0) return usage("unknown command " + words[0]);
    if (static_cast<int>(words.size()) - 1 != wanted)
        return usage(words[0] + (wanted == 0 ? " takes no argument" : " needs one FILE"));

    auto backend = device::makeHidBackend(choice);
    if (!backend)
        return usage("the simulated mouse is \"macro\" or \"image\", not \"" +
                     *choice.simulatedMouse + "\"");
    cli::MouseSession session(*backend, ::isatty(STDERR_FILENO) ? stderr : nullptr, nullptr,
                              image::defaultBackupFolder());
    int code = session.connect();
    if (code == cli::kOk) {
        const std::string& command = words[0];
        if (command == "info") code = session.info(stdout);
        if (command == "dump") code = session.dump(words[1]);
        if (command == "load") code = session.load(words[1]);
        if (command == "reset") code = session.reset();
    }
    for (const std::string& warning : session.warnings())
        std::fprintf(stderr, "quorvex-ctl: %s\n", warning.c_str());
    if (code != cli::kOk) std::fprintf(stderr, "quorvex-ctl: %s\n", session.error().c_str());
    return code;
}
