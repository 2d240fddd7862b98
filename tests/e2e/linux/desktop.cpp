#include "desktop.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#ifndef QUORVEX_EDITOR
#error "QUORVEX_EDITOR must name the quorvex-editor binary"
#endif

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
          int outFd, int errFd = -1) {
    const int pid = ::fork();
    if (pid == 0) {
        for (const auto& [k, v] : env) ::setenv(k.c_str(), v.c_str(), 1);
        if (outFd >= 0) ::dup2(outFd, STDOUT_FILENO);
        const int devnull = ::open("/dev/null", O_WRONLY);
        if (devnull >= 0 && outFd < 0) ::dup2(devnull, STDOUT_FILENO);
        if (errFd >= 0) ::dup2(errFd, STDERR_FILENO);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

}  // namespace

std::string runCommand(const std::vector<std::string>& argv, int* status,
                       const std::map<std::string, std::string>& env) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const int pid = spawn(argv, env, fds[1]);
    ::close(fds[1]);
    std::string out;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buf, sizeof(buf))) > 0) out.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int st = 0;
    ::waitpid(pid, &st, 0);
    if (status) *status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return out;
}

bool haveProgram(const std::string& name) {
    int status = 0;
    runCommand({"sh", "-c", "command -v " + name}, &status);
    return status == 0;
}

VirtualDisplay::VirtualDisplay() {
    for (const char* program : {"Xvfb", "xdotool", "import"}) {
        if (!haveProgram(program)) {
            skipReason_ = std::string(program) + " is not installed";
            return;
        }
    }
    // Xvfb takes a free display number itself and writes it to the pipe once it listens: a
    // number chosen here could be taken by a test running beside this one.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error_ = "no pipe for Xvfb's display number";
        return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        ::fcntl(fds[1], F_SETFD, 0);  // the one descriptor Xvfb is meant to inherit
        const int devnull = ::open("/dev/null", O_WRONLY);
        if (devnull >= 0) ::dup2(devnull, STDOUT_FILENO);
        const std::string fd = std::to_string(fds[1]);
        // No reset when the last client leaves (the probe below, a screenshot): a server that
        // had to pass over a taken display number refused clients for a moment after a reset.
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                 "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string number;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (number.find('\n') == std::string::npos && Clock::now() < deadline) {
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char buf[16];
        const ssize_t n = ::read(fds[0], buf, sizeof(buf));
        if (n <= 0) break;  // Xvfb ended without a display
        number.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        error_ = "Xvfb did not say which display it serves within 20 s";
        return;
    }
    name_ = ":" + number.substr(0, number.find('\n'));
    // Listening is not yet answering: wait until a client gets through.
    const auto answered = Clock::now() + std::chrono::seconds(10);
    for (;;) {
        if (Display* d = ::XOpenDisplay(name_.c_str())) {
            ::XCloseDisplay(d);
            return;
        }
        if (Clock::now() > answered) break;
        sleepMs(50);
    }
    error_ = "Xvfb on " + name_ + " took no client within 10 s";
}

VirtualDisplay::~VirtualDisplay() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

Editor::Editor(const VirtualDisplay& display, const std::map<std::string, std::string>& env)
    : display_(display), env_(env) {
    env_["DISPLAY"] = display.name();
    // Qt wants a private runtime directory.
    char runtime[] = "/tmp/quorvex-e2e-runtime-XXXXXX";
    if (::mkdtemp(runtime)) env_["XDG_RUNTIME_DIR"] = runtime;
    env_["QT_QPA_PLATFORM"] = "xcb";
    char errors[] = "/tmp/quorvex-e2e-stderr-XXXXXX";
    const int errFd = ::mkstemp(errors);
    if (errFd >= 0) errorFile_ = errors;
    pid_ = spawn({QUORVEX_EDITOR}, env_, -1, errFd);
    if (errFd >= 0) ::close(errFd);
}

std::string Editor::errorOutput() const {
    std::ifstream in(errorFile_);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Editor::~Editor() {
    if (pid_ > 0 && exitCode_ < 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    if (!errorFile_.empty()) ::unlink(errorFile_.c_str());
}

std::string Editor::xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return runCommand(argv, nullptr, {{"DISPLAY", display_.name()}});
}

int Editor::windowsWithCaption() {
    const std::string out = xdotool({"search", "--onlyvisible", "--name", "^Gaming Mouse v1\\.0$"});
    int lines = 0;
    for (char c : out) lines += c == '\n';
    return lines;
}

bool Editor::waitForWindow(double seconds) {
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
    while (Clock::now() < deadline) {
        const std::string out =
            xdotool({"search", "--onlyvisible", "--name", "^Gaming Mouse v1\\.0$"});
        if (!out.empty()) {
            window_ = out.substr(0, out.find('\n'));
            return true;
        }
        if (waitForExit(0)) return false;
        sleepMs(100);
    }
    return false;
}

bool Editor::waitForExit(double seconds) {
    if (exitCode_ >= 0) return true;
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
    do {
        int st = 0;
        if (::waitpid(pid_, &st, WNOHANG) == pid_) {
            exitCode_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128;
            return true;
        }
        if (seconds > 0) sleepMs(50);
    } while (Clock::now() < deadline);
    return false;
}

void Editor::click(int x, int y) {
    xdotool({"mousemove", "--window", window_, std::to_string(x), std::to_string(y)});
    sleepMs(150);  // let the hover pictures settle as they would under a hand
    xdotool({"click", "1"});
    sleepMs(300);
}

skin::Picture Editor::screenshot(const std::string& artifact) {
    const std::string file =
        artifact.empty() ? "/tmp/quorvex-e2e-" + std::to_string(::getpid()) + ".png" : artifact;
    runCommand({"import", "-window", window_, "PNG24:" + file}, nullptr,
               {{"DISPLAY", display_.name()}});
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    if (artifact.empty()) ::unlink(file.c_str());
    auto decoded = skin::decodePng(bytes);
    if (auto* p = std::get_if<skin::Picture>(&decoded)) return std::move(*p);
    return {};
}

Rgb pixel(const skin::Picture& p, int x, int y) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) return {0, 0, 0};
    const std::uint8_t* px = &p.rgba[(static_cast<std::size_t>(y) * p.width + x) * 4];
    return {px[0], px[1], px[2]};
}

bool isRed(Rgb c) {
    return c.r > 150 && c.g < 90 && c.b < 90;
}

bool hasWhiteIn(const skin::Picture& p, int x, int y, int w, int h) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            const Rgb c = pixel(p, i, j);
            if (c.r > 200 && c.g > 200 && c.b > 200) return true;
        }
    }
    return false;
}

}  // namespace e2e
