#pragma once
// Runs a piece of a test as an ordinary user. Root reads and writes any file whatever its mode,
// so permission cases would prove nothing when the suite runs as root: the child process gives
// root up first. Linux only.
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace testing_support {

constexpr uid_t kNobody = 65534;

// The exit status of a child that ran `body` (0 to 254), or -1 when it could not run or drop root.
inline int runUnprivileged(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(255);
        ::_exit(body() & 0xFF);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

}  // namespace testing_support
