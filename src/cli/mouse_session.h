#pragma once
// One mouse on a terminal: found and read as the editor finds and reads it, then shown, dumped
// to a profile file, loaded from one, or reset, all through the editor's device link.
#include <cstdio>
#include <string>

#include "cli/console_window.h"
#include "device/device_link.h"

namespace cli {

// What quorvex-ctl exits with.
enum ExitCode {
    kOk = 0,
    kUsage = 2,           // unknown command, missing or extra argument
    kNoMouse = 3,         // no mouse with the ids was found
    kRefusedMouse = 4,    // found, but of another type or id the editor does not serve
    kBadFile = 5,         // a file that cannot be read, written or does not fit the mouse
    kTransferFailed = 6,  // a read or write that did not complete
};

class MouseSession {
  public:
    // Time runs on `host` when given (tests), else on the clock. What the mouse holds is
    // backed up into `backupFolder` before every write; benchmarks and tests may keep none.
    MouseSession(device::HidBackend& backend, std::FILE* progress, device::LinkHost* host = nullptr,
                 std::optional<std::string> backupFolder = std::nullopt);

    // Finds the mouse and reads it. Anything but kOk comes with `error()` set.
    int connect();
    int info(std::FILE* out);
    int dump(const std::string& path);
    int load(const std::string& path);
    int reset();

    const std::string& error() const { return error_; }
    const std::vector<std::string>& warnings() const { return window_.warnings(); }
    device::DeviceLink& link() { return link_; }
    // What the editor holds for the mouse (benchmarks edit it between writes).
    image::EditorImage& editorImage() { return image_; }

  private:
    int fail(int code, std::string text);
    // The messages the link showed since `from`, as one text.
    std::string messagesSince(std::size_t from) const;

    device::HidTransport transport_;
    ConsoleWindow window_;
    image::EditorImage image_;
    device::DeviceLink link_;
    std::string error_;
};

}  // namespace cli
