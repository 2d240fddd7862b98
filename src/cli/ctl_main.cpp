// quorvex-ctl: the mouse from a terminal, through the editor's own device link.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cli/mouse_session.h"
#include "image/backup_file.h"
#include "keys/function_words.h"
#include "quorvex-ctl_help.h"
#include "quorvex_version.h"
#include "select_backend.h"
#include "settings/image_settings.h"

namespace {

int usage(const std::string& problem) {
    if (!problem.empty()) std::fprintf(stderr, "quorvex-ctl: %s\n", problem.c_str());
    std::fputs(kHelpText, stderr);
    return cli::kUsage;
}

struct Command {
    std::vector<std::string> words;
    bool json = false;
};

// The arguments a command needs; an error text when they do not fit.
std::string checkCommand(const std::vector<std::string>& w, bool json) {
    const std::string& c = w[0];
    const std::size_t n = w.size() - 1;
    if (c == "list" || c == "info" || c == "reset") return n == 0 ? "" : c + " takes no argument";
    if (c == "dump" || c == "load") return n == 1 ? "" : c + " needs one FILE";
    if (c == "get") return n <= 1 ? "" : "get takes at most one NAME";
    if (c == "set") return n >= 1 ? "" : "set needs at least one NAME=VALUE";
    if (c == "macro") {
        const bool file = n == 3 && (w[1] == "export" || w[1] == "import");
        if (!file && !(n == 2 && w[1] == "clear"))
            return "macro takes export N FILE, import N FILE or clear N";
        const std::string& slot = w[2];
        const auto number = keys::wordNumber(slot, 32);
        if (!number || *number < 1) return "macro slots are 1 to 32, not " + slot;
        return json ? "--json goes with info, get and list" : "";
    }
    if (c != "set" && json) return "--json goes with info, get and list";
    return "unknown command " + c;
}

int runCommand(cli::MouseSession& session, const Command& cmd, std::FILE* out) {
    const auto& w = cmd.words;
    const std::string& c = w[0];
    if (c == "info") return session.info(out, cmd.json);
    if (c == "get")
        return session.get(out, w.size() > 1 ? std::optional<std::string>(w[1]) : std::nullopt,
                           cmd.json);
    if (c == "set") return session.set({w.begin() + 1, w.end()});
    if (c == "dump") return session.dump(w[1]);
    if (c == "load") return session.load(w[1]);
    if (c == "reset") return session.reset();
    const int slot = std::stoi(w[2]);
    if (w[1] == "export") return session.macroExport(slot, w[3]);
    if (w[1] == "import") return session.macroImport(slot, w[3]);
    return session.macroClear(slot);
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) out += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    return out + "\"";
}

// One mouse: connect, run, and report. `prefix` starts every line of a mouse of --all.
int runOnMouse(device::HidBackend& backend, const Command& cmd, const std::string& prefix) {
    cli::MouseSession session(backend, ::isatty(STDERR_FILENO) ? stderr : nullptr, nullptr,
                              image::defaultBackupFolder());
    int code = session.connect();
    std::string output;
    if (code == cli::kOk) {
        // Output is gathered so that every line of a mouse of --all carries its path.
        char* buffer = nullptr;
        std::size_t size = 0;
        std::FILE* memory = open_memstream(&buffer, &size);
        code = runCommand(session, cmd, memory ? memory : stdout);
        if (memory) {
            std::fclose(memory);
            output.assign(buffer, size);
            std::free(buffer);
        }
    }
    for (const std::string& warning : session.warnings())
        std::fprintf(stderr, "quorvex-ctl: %s%s\n", prefix.c_str(), warning.c_str());
    std::size_t from = 0;
    while (from < output.size()) {
        const std::size_t end = output.find('\n', from);
        std::printf("%s%s\n", prefix.c_str(), output.substr(from, end - from).c_str());
        if (end == std::string::npos) break;
        from = end + 1;
    }
    const bool quiet = cmd.words[0] == "info" || cmd.words[0] == "get";
    if (code != cli::kOk) {
        std::fprintf(stderr, "quorvex-ctl: %s%s\n", prefix.c_str(), session.error().c_str());
    } else if (!prefix.empty() && !quiet) {
        std::printf("%sdone\n", prefix.c_str());
    }
    return code;
}

int list(device::HidBackend& backend, bool json) {
    const auto mice = cli::findMice(backend);
    std::string objects;
    for (const std::string& path : mice) {
        cli::OnePathBackend one(backend, path);
        cli::MouseSession session(one, nullptr, nullptr, std::nullopt);
        const int code = session.connect();
        const std::string kind = code == cli::kOk ? session.kindName() : session.error();
        if (json) {
            objects += std::string(objects.empty() ? "" : ", ") + "{\"device\": " + quoted(path) +
                       ", \"kind\": " + quoted(kind) + "}";
        } else {
            std::printf("%s  %s\n", path.c_str(), kind.c_str());
        }
    }
    if (json) std::printf("{\"mice\": [%s]}\n", objects.c_str());
    if (mice.empty() && !json) {
        std::fprintf(stderr, "quorvex-ctl: no mouse found\n");
        return cli::kNoMouse;
    }
    return cli::kOk;
}

}  // namespace

int main(int argc, char** argv) {
    device::BackendChoice choice = device::BackendChoice::fromEnvironment();
    Command cmd;
    std::optional<std::string> devicePath;
    bool all = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kHelpText, stdout);
            return cli::kOk;
        }
        if (arg == "--version") {
            std::printf("quorvex-ctl %s\n", kQuorvexVersion);
            return cli::kOk;
        }
        // Not in the help: the shell completion asks for the names `set` takes.
        if (arg == "--setting-names") {
            for (const std::string& name : settings::settingNames()) std::puts(name.c_str());
            return cli::kOk;
        }
        if (!cmd.words.empty() && cmd.words[0] == "set" && !arg.starts_with("--")) {
            cmd.words.push_back(arg);
        } else if (arg == "--simulated-mouse") {
            choice.simulatedMouse = "macro";
        } else if (arg.starts_with("--simulated-mouse=")) {
            choice.simulatedMouse = arg.substr(std::strlen("--simulated-mouse="));
        } else if (arg == "--hidraw-dir") {
            if (++i == argc) return usage("--hidraw-dir needs a folder");
            choice.hidrawDirectory = argv[i];
        } else if (arg == "--device") {
            if (++i == argc) return usage("--device needs a device path (see list)");
            if (devicePath)
                return usage("--device is given once: one mouse, or --all for every one");
            devicePath = argv[i];
        } else if (arg == "--all") {
            all = true;
        } else if (arg == "--json") {
            cmd.json = true;
        } else if (arg.starts_with("-")) {
            return usage("unknown option " + arg);
        } else {
            cmd.words.push_back(arg);
        }
    }
    if (cmd.words.empty()) return usage("no command given");
    if (const std::string problem = checkCommand(cmd.words, cmd.json); !problem.empty())
        return usage(problem);
    if (all && devicePath) return usage("--device and --all exclude each other");
    if (choice.hidrawDirectory && !choice.simulatedMouse) {
        std::error_code error;
        if (!std::filesystem::is_directory(*choice.hidrawDirectory, error)) {
            std::fprintf(stderr, "quorvex-ctl: --hidraw-dir %s: no such folder\n",
                         choice.hidrawDirectory->c_str());
            return cli::kNoMouse;
        }
    }

    auto backend = device::makeHidBackend(choice);
    if (!backend)
        return usage("the simulated mouse is \"macro\" or \"image\", not \"" +
                     *choice.simulatedMouse + "\"");
    if (cmd.words[0] == "list") return list(*backend, cmd.json);
    if (devicePath) {
        const auto mice = cli::findMice(*backend);
        if (std::find(mice.begin(), mice.end(), *devicePath) == mice.end()) {
            std::string known;
            for (const std::string& m : mice) known += (known.empty() ? "" : ", ") + m;
            std::fprintf(stderr, "quorvex-ctl: %s is no connected mouse of the model (%s)\n",
                         devicePath->c_str(),
                         known.empty() ? "none is connected" : ("mice: " + known).c_str());
            return cli::kNoMouse;
        }
        cli::OnePathBackend one(*backend, *devicePath);
        return runOnMouse(one, cmd, "");
    }
    if (!all) return runOnMouse(*backend, cmd, "");
    const auto mice = cli::findMice(*backend);
    if (mice.empty()) {
        std::fprintf(stderr, "quorvex-ctl: no mouse found\n");
        return cli::kNoMouse;
    }
    int worst = cli::kOk;
    for (const std::string& path : mice) {
        cli::OnePathBackend one(*backend, path);
        worst = std::max(worst, runOnMouse(one, cmd, path + ": "));
    }
    return worst;
}
