#include "mounted_sim.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#ifndef QUORVEX_MOUSE_SIM
#error "QUORVEX_MOUSE_SIM must name the quorvex-mouse-sim binary"
#endif

namespace e2e {

MountedSim::MountedSim(const std::vector<std::string>& options) {
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        skipReason_ = "/dev/fuse is not available on this machine";
        return;
    }
    char tmpl[] = "/tmp/quorvex-sim-XXXXXX";
    if (!::mkdtemp(tmpl)) {
        skipReason_ = "cannot create a temporary mount point";
        return;
    }
    dir_ = tmpl;
    std::vector<std::string> args{QUORVEX_MOUSE_SIM, dir_};
    args.insert(args.end(), options.begin(), options.end());
    pid_ = ::fork();
    if (pid_ == 0) {
        const int devnull = ::open("/dev/null", O_WRONLY);
        if (devnull >= 0) ::dup2(devnull, STDOUT_FILENO);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    struct stat st {};
    while (::stat((dir_ + "/ctl").c_str(), &st) != 0) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            skipReason_ = "quorvex-mouse-sim could not mount (FUSE mounting unavailable here)";
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            skipReason_ = "quorvex-mouse-sim did not mount within 10 s";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

MountedSim::~MountedSim() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    if (!dir_.empty()) {
        ::umount2(dir_.c_str(), MNT_DETACH);  // in case the simulator died without unmounting
        ::rmdir(dir_.c_str());
    }
}

bool MountedSim::control(const std::string& command) const {
    const int fd = ::open((dir_ + "/ctl").c_str(), O_WRONLY);
    if (fd < 0) return false;
    const std::string line = command + "\n";
    const bool ok = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    ::close(fd);
    return ok;
}

std::string MountedSim::status() const {
    std::ifstream in(dir_ + "/ctl");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

long MountedSim::counter(const std::string& name) const {
    std::istringstream in(status());
    std::string key;
    long value = 0;
    while (in >> key >> value) {
        if (key == name) return value;
    }
    return -1;
}

std::vector<unsigned char> MountedSim::memory() const {
    const std::string file = dir_ + ".dump";
    if (!control("dump " + file)) return {};
    std::ifstream in(file, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    ::unlink(file.c_str());
    return bytes;
}

}  // namespace e2e
