#pragma once
// Runs quorvex-mouse-sim on a fresh temporary mount point for the length of a test.
#include <string>
#include <vector>

namespace e2e {

class MountedSim {
  public:
    // Starts the simulator; on failure skipReason() says why (no FUSE, mount refused, ...).
    explicit MountedSim(const std::vector<std::string>& options = {});
    ~MountedSim();
    MountedSim(const MountedSim&) = delete;
    MountedSim& operator=(const MountedSim&) = delete;

    bool running() const { return skipReason_.empty(); }
    const std::string& skipReason() const { return skipReason_; }
    const std::string& dir() const { return dir_; }

    // Writes one command line to the control file; false when the simulator refused it.
    bool control(const std::string& command) const;
    // The control file's status text.
    std::string status() const;
    // The value of one status line ("reloads", "data_in", ...), -1 when missing.
    long counter(const std::string& name) const;
    // The simulator's 64 KiB memory, through its dump command.
    std::vector<unsigned char> memory() const;

  private:
    std::string dir_;
    std::string skipReason_;
    int pid_ = -1;
};

}  // namespace e2e
