#pragma once
// One mouse on a terminal: found and read as the editor finds and reads it, then shown, dumped
// to a profile file, loaded from one, or reset, all through the editor's device link.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/console_window.h"
#include "device/device_link.h"
#include "settings/dpi_rate.h"

namespace cli {

// What quorvex-ctl exits with.
enum ExitCode {
    kOk = 0,
    kUsage = 2,           // unknown command, missing or extra argument
    kNoMouse = 3,         // no mouse with the ids was found
    kRefusedMouse = 4,    // found, but of another type or id the editor does not serve
    kBadFile = 5,         // a file that cannot be read, written or does not fit the mouse
    kTransferFailed = 6,  // a read or write that did not complete
    kUnreadable = 7,      // a mouse is there but could not be read completely
};

// The interfaces of the model's mice that a backend lists: paths in enumeration order.
std::vector<std::string> findMice(device::HidBackend& backend);

// A backend that shows only one of another's interfaces, so the link takes that mouse.
class OnePathBackend : public device::HidBackend {
  public:
    OnePathBackend(device::HidBackend& inner, std::string path)
        : inner_(inner), path_(std::move(path)) {}
    std::vector<std::string> interfacePaths() override;
    device::HidHandle open(const std::string& path) override { return inner_.open(path); }
    std::optional<device::HidAttributes> attributes(device::HidHandle h) override {
        return inner_.attributes(h);
    }
    std::optional<std::uint16_t> featureReportLength(device::HidHandle h) override {
        return inner_.featureReportLength(h);
    }
    bool setFeature(device::HidHandle h, std::span<const std::uint8_t> report) override {
        return inner_.setFeature(h, report);
    }
    bool getFeature(device::HidHandle h, std::span<std::uint8_t> report) override {
        return inner_.getFeature(h, report);
    }
    void close(device::HidHandle h) override { inner_.close(h); }

  private:
    device::HidBackend& inner_;
    std::string path_;
};

class MouseSession {
  public:
    // Time runs on `host` when given (tests), else on the clock. What the mouse holds is
    // backed up into `backupFolder` before every write; benchmarks and tests may keep none.
    MouseSession(device::HidBackend& backend, std::FILE* progress, device::LinkHost* host = nullptr,
                 std::optional<std::string> backupFolder = std::nullopt);

    // Finds the mouse and reads it. Anything but kOk comes with `error()` set.
    int connect();
    int dump(const std::string& path);
    int load(const std::string& path);
    int reset();
    // Every setting as "name = value" lines, or one JSON object; `name` picks one.
    int get(std::FILE* out, const std::optional<std::string>& name, bool json);
    // NAME=VALUE changes, all taken or none, then one write.
    int set(const std::vector<std::string>& assignments);
    // Macro slots 1-32 as the list counts them.
    int macroExport(int slot, const std::string& path);
    int macroImport(int slot, const std::string& path);
    int macroClear(int slot);
    int info(std::FILE* out, bool json);
    // Where the link found the mouse, and what kind it is.
    std::string devicePath() const { return transport_.devicePath(); }
    std::string kindName() const;

    const std::string& error() const { return error_; }
    const std::vector<std::string>& warnings() const { return window_.warnings(); }
    device::DeviceLink& link() { return link_; }
    // What the editor holds for the mouse (benchmarks edit it between writes).
    image::EditorImage& editorImage() { return image_; }

  private:
    int fail(int code, std::string text);
    // A complete read is needed before anything is shown or changed.
    int needContents();
    // kOk for a slot of 1-32 on a macro mouse that was read completely.
    int macroSlot(int slot);
    settings::DpiTexts dpiTexts() const;
    int writeMouse();
    // The messages the link showed since `from`, as one text.
    std::string messagesSince(std::size_t from) const;

    device::HidBackend& backend_;
    device::HidTransport transport_;
    ConsoleWindow window_;
    image::EditorImage image_;
    device::DeviceLink link_;
    std::string error_;
};

}  // namespace cli
