#pragma once
// The machine that the test builds of hid.dll and setupapi.dll pretend to be: the simulated
// mouse and unrelated HID devices, each interface a file in one folder, so that the program's own
// CreateFileA really opens (or fails to open) the paths that SetupAPI lists. The folder also
// holds the control file ("unplug", "plug", "dump PATH", faults: as quorvex-mouse-sim takes
// them), the status it answers with (quorvex-mouse-sim's counters, the control lines served and
// the reports that went to other devices), and the log of every feature report to the mouse.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim_control.h"

namespace hidsim {

// The interface class every HID interface is listed under.
inline constexpr GUID kHidClass{
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

struct Capabilities {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t featureLength = 0;
};

class Machine {
  public:
    // The machine described by the folder in QUORVEX_HID_SIM_DIR; nothing without it (the DLLs
    // then pass everything to Wine's own).
    static Machine* instance();
    // The machine if it has been made already; never makes one.
    static Machine* existing();

    // Device paths of the interfaces present, in enumeration order.
    std::vector<std::string> presentPaths();

    // An interface that a handle from CreateFileA has open. A handle kept across an unplug
    // still names its interface but is no longer live, as on Windows.
    struct Handle {
        std::size_t iface;
        bool live;
    };
    // Nothing for handles that are not ours.
    std::optional<Handle> interfaceOf(HANDLE handle);
    void identity(std::size_t iface, std::uint16_t& vendorId, std::uint16_t& productId);
    Capabilities capabilities(std::size_t iface);
    // One feature report to the device (`out`) or from it; false with the reason in
    // GetLastError. Every report goes into the log.
    bool exchange(const Handle& handle, std::span<std::uint8_t> report, bool out);

    // Writes out what the log holds. At unload the control thread may have been stopped while
    // holding the lock: then `wait` false gives up rather than hang.
    void flush(bool wait = true);

  private:
    // The file's number in its file system; all of them lie in one folder.
    using FileId = LONGLONG;
    struct Interface {
        std::size_t node = 0;      // in the simulator's nodes
        std::string file;          // the file (or, for a locked device, the folder) behind the path
        std::string path;          // as SetupAPI lists it
        std::optional<FileId> id;  // while the file is there
        std::vector<FileId> removed;  // the files of earlier plugs
        int removals = 0;
    };

    explicit Machine(std::string folder);
    bool start(std::string& error);
    static DWORD WINAPI controlLoop(void* self);
    void serveControlFile();
    void syncFiles();
    void writeStatus();
    void log(bool out, std::span<const std::uint8_t> report, bool ok);
    std::string in(const char* name) const { return folder_ + "\\" + name; }

    CRITICAL_SECTION lock_;
    std::string folder_;
    std::unique_ptr<mousesim::Simulator> sim_;
    std::vector<Interface> interfaces_;
    std::string pendingLog_;
    std::string lastStatus_;
    std::uint64_t controlRead_ = 0;  // how far the control file has been served
    int handled_ = 0;                // control lines served
    int othersReports_ = 0;          // feature reports sent to or asked of the other devices
};

}  // namespace hidsim
