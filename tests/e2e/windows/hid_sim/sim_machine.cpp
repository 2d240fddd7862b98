#include "sim_machine.h"

#include <winternl.h>

#include <atomic>
#include <cstdio>
#include <sstream>

#include "device/report_descriptor.h"

namespace hidsim {
namespace {

// Holds the machine's lock for one scope.
class Locked {
  public:
    explicit Locked(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
    ~Locked() { LeaveCriticalSection(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

  private:
    CRITICAL_SECTION& lock_;
};

std::string readWholeFile(const std::string& name) {
    std::string text;
    const HANDLE h = CreateFileA(name.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof(buffer), &got, nullptr) && got) text.append(buffer, got);
    CloseHandle(h);
    return text;
}

bool writeWholeFile(const std::string& name, const std::string& text, DWORD disposition,
                    DWORD access = GENERIC_WRITE) {
    const HANDLE h = CreateFileA(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                 disposition, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = text.empty() || (WriteFile(h, text.data(), static_cast<DWORD>(text.size()),
                                               &written, nullptr) &&
                                     written == text.size());
    CloseHandle(h);
    return ok;
}

// The usage page and usage of the descriptor's first collection, as HidP_GetCaps tells them.
Capabilities capabilitiesOf(const std::vector<std::uint8_t>& d) {
    Capabilities caps;
    caps.featureLength = device::featureReportLength(d).value_or(0);
    for (std::size_t i = 0; i < d.size();) {
        const std::uint8_t prefix = d[i];
        const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (i + 1 + size > d.size()) break;
        std::uint16_t value = size >= 1 ? d[i + 1] : 0;
        if (size >= 2) value |= static_cast<std::uint16_t>(d[i + 2] << 8);
        if ((prefix & 0xFC) == 0x04 && !caps.usagePage) caps.usagePage = value;
        if ((prefix & 0xFC) == 0x08 && !caps.usage) caps.usage = value;
        if ((prefix & 0xFC) == 0xA0) break;  // the collection itself
        i += 1 + size;
    }
    return caps;
}

std::atomic<Machine*> made{nullptr};

// Asked for every report, so the quick question: Wine answers the volume's serial number,
// part of the other answers, slowly.
std::optional<LONGLONG> fileId(HANDLE handle) {
    IO_STATUS_BLOCK io{};
    FILE_INTERNAL_INFORMATION info{};
    if (NtQueryInformationFile(handle, &io, &info, sizeof(info), FileInternalInformation) != 0)
        return std::nullopt;
    return info.IndexNumber.QuadPart;
}

}  // namespace

Machine* Machine::existing() {
    return made.load();
}

Machine* Machine::instance() {
    static Machine* const machine = []() -> Machine* {
        char folder[MAX_PATH];
        const DWORD n = GetEnvironmentVariableA("QUORVEX_HID_SIM_DIR", folder, sizeof(folder));
        if (n == 0 || n >= sizeof(folder)) {
            std::fprintf(stderr,
                         "test hid.dll: QUORVEX_HID_SIM_DIR is not set; only Wine's own HID "
                         "devices are there\n");
            return nullptr;
        }
        auto* m = new Machine(folder);
        std::string error;
        if (m->start(error)) {
            made.store(m);
            return m;
        }
        std::fprintf(stderr, "test hid.dll: %s\n", error.c_str());
        delete m;
        return nullptr;
    }();
    return machine;
}

Machine::Machine(std::string folder) : folder_(std::move(folder)) {
    InitializeCriticalSection(&lock_);
    for (char& c : folder_) {
        if (c == '/') c = '\\';
    }
    while (folder_.size() > 3 && folder_.back() == '\\') folder_.pop_back();
}

bool Machine::start(std::string& error) {
    if (GetFileAttributesA(folder_.c_str()) == INVALID_FILE_ATTRIBUTES) {
        error = "the folder " + folder_ + " is not there";
        return false;
    }
    // The simulated devices, told in quorvex-mouse-sim's own options.
    std::vector<std::string> args{folder_};
    std::istringstream options(readWholeFile(in("options")));
    for (std::string word; options >> word;) args.push_back(word);
    const auto parsed = mousesim::parseOptions(args, error);
    if (!parsed) {
        error = in("options") + ": " + error;
        return false;
    }
    sim_ = std::make_unique<mousesim::Simulator>(*parsed);
    const auto& nodes = sim_->nodes();
    // The other devices come first, so that the editor has to walk past them to the mouse.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i].firmware) order.push_back(i);
    }
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].firmware) order.push_back(i);
    }
    for (const std::size_t i : order) {
        char name[128];
        std::snprintf(name, sizeof(name),
                      "hid#vid_%04x&pid_%04x#%zu&quorvex&0&0000#{4d1e55b2-f16f-11cf-88cb-"
                      "001111000030}",
                      nodes[i].vendorId, nodes[i].productId, i);
        Interface iface;
        iface.node = i;
        iface.file = in(name);
        iface.path = "\\\\?\\" + iface.file;
        // A folder cannot be opened as a file: the device that refuses every program.
        if (nodes[i].locked) CreateDirectoryA(iface.file.c_str(), nullptr);
        interfaces_.push_back(std::move(iface));
    }
    if (!writeWholeFile(in("traffic.log"), {}, CREATE_ALWAYS)) {
        error = "cannot write " + in("traffic.log");
        return false;
    }
    {
        Locked hold(lock_);
        syncFiles();
    }
    writeStatus();
    const HANDLE thread = CreateThread(nullptr, 0, &Machine::controlLoop, this, 0, nullptr);
    if (!thread) {
        error = "no thread for the control file";
        return false;
    }
    CloseHandle(thread);
    return true;
}

DWORD WINAPI Machine::controlLoop(void* self) {
    auto* m = static_cast<Machine*>(self);
    for (;;) {
        m->serveControlFile();
        {
            Locked hold(m->lock_);
            m->syncFiles();  // a fault may have unplugged the mouse in the middle of a transfer
        }
        m->flush();
        m->writeStatus();
        Sleep(20);
    }
}

void Machine::serveControlFile() {
    const std::string name = in("ctl");
    const HANDLE h = CreateFileA(name.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(controlRead_);
    std::string text;
    if (SetFilePointerEx(h, at, nullptr, FILE_BEGIN)) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(h, buffer, sizeof(buffer), &got, nullptr) && got) text.append(buffer, got);
    }
    CloseHandle(h);
    // Only whole lines: the test may be in the middle of writing one.
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1) {
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        controlRead_ += end - start + 1;
        Locked hold(lock_);
        const std::string error = sim_->control(line);
        if (!error.empty()) std::fprintf(stderr, "test hid.dll: %s\n", error.c_str());
        syncFiles();
        ++handled_;
    }
}

// Gives every present device its file and takes it away from an absent one. A removed file is
// renamed, not deleted, so that a handle still open on it never meets a new file's id.
void Machine::syncFiles() {
    for (Interface& iface : interfaces_) {
        const mousesim::Node& node = sim_->nodes()[iface.node];
        if (node.locked) continue;
        const bool present = sim_->node(node.name) != nullptr;
        if (present && !iface.id) {
            const HANDLE h = CreateFileA(iface.file.c_str(), GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, CREATE_ALWAYS, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE) iface.id = fileId(h);
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        } else if (!present && iface.id) {
            const std::string gone = iface.file + ".removed-" + std::to_string(++iface.removals);
            MoveFileExA(iface.file.c_str(), gone.c_str(), MOVEFILE_REPLACE_EXISTING);
            iface.removed.push_back(*iface.id);
            iface.id.reset();
        }
    }
}

void Machine::writeStatus() {
    std::string text;
    {
        Locked hold(lock_);
        text = sim_->status() + "handled " + std::to_string(handled_) + "\nreports_to_others " +
               std::to_string(othersReports_) + "\n";
    }
    if (text == lastStatus_) return;
    // Whole or not at all: the test reads it at any moment.
    const std::string fresh = in("status.new");
    if (writeWholeFile(fresh, text, CREATE_ALWAYS) &&
        MoveFileExA(fresh.c_str(), in("status").c_str(), MOVEFILE_REPLACE_EXISTING)) {
        lastStatus_ = text;
    }
}

void Machine::flush(bool wait) {
    std::string text;
    if (wait) {
        Locked hold(lock_);
        text.swap(pendingLog_);
    } else if (TryEnterCriticalSection(&lock_)) {
        text.swap(pendingLog_);
        LeaveCriticalSection(&lock_);
    }
    if (!text.empty()) writeWholeFile(in("traffic.log"), text, OPEN_ALWAYS, FILE_APPEND_DATA);
}

std::vector<std::string> Machine::presentPaths() {
    Locked hold(lock_);
    std::vector<std::string> paths;
    for (const Interface& iface : interfaces_) {
        if (sim_->node(sim_->nodes()[iface.node].name)) paths.push_back(iface.path);
    }
    return paths;
}

std::optional<Machine::Handle> Machine::interfaceOf(HANDLE handle) {
    const auto id = fileId(handle);
    if (!id) return std::nullopt;
    Locked hold(lock_);
    for (std::size_t i = 0; i < interfaces_.size(); ++i) {
        const Interface& iface = interfaces_[i];
        if (iface.id == id) return Handle{i, true};
        for (const FileId old : iface.removed) {
            if (old == *id) return Handle{i, false};
        }
    }
    return std::nullopt;
}

void Machine::identity(std::size_t iface, std::uint16_t& vendorId, std::uint16_t& productId) {
    Locked hold(lock_);
    const mousesim::Node& node = sim_->nodes()[interfaces_[iface].node];
    vendorId = node.vendorId;
    productId = node.productId;
}

Capabilities Machine::capabilities(std::size_t iface) {
    Locked hold(lock_);
    return capabilitiesOf(sim_->nodes()[interfaces_[iface].node].descriptor);
}

bool Machine::exchange(const Handle& handle, std::span<std::uint8_t> report, bool out) {
    Locked hold(lock_);
    const mousesim::Node& node = sim_->nodes()[interfaces_[handle.iface].node];
    const std::uint16_t length = capabilitiesOf(node.descriptor).featureLength;
    if (!node.firmware || length == 0) {
        ++othersReports_;                      // the editor has no business with other devices
        SetLastError(ERROR_INVALID_FUNCTION);  // a device without feature reports
        return false;
    }
    bool ok = false;
    if (!handle.live) {
        SetLastError(ERROR_DEVICE_NOT_CONNECTED);
    } else if (report.size() != length) {
        SetLastError(ERROR_INVALID_USER_BUFFER);
    } else {
        ok = out ? node.firmware->setFeature(report) : node.firmware->getFeature(report);
        if (!ok)
            SetLastError(node.firmware->plugged() ? ERROR_GEN_FAILURE : ERROR_DEVICE_NOT_CONNECTED);
    }
    log(out, report, ok);
    return ok;
}

// One line a report: "S" sent or "G" fetched, the bytes (as answered), then ok or fail.
void Machine::log(bool out, std::span<const std::uint8_t> report, bool ok) {
    pendingLog_ += out ? 'S' : 'G';
    char hex[4];
    for (const std::uint8_t b : report) {
        std::snprintf(hex, sizeof(hex), " %02X", b);
        pendingLog_ += hex;
    }
    pendingLog_ += ok ? " ok\n" : " fail\n";
}

}  // namespace hidsim
