#pragma once
// HidBackend over simulated interfaces: one or more mice (MouseFirmware) and unrelated HID
// devices, so that every layer above the platform runs without hardware.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "device/hid_backend.h"
#include "sim/mouse_firmware.h"

namespace sim {

class SimBackend : public device::HidBackend {
  public:
    struct Interface {
        std::string path;
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
        std::uint16_t featureReportLength = 0;
        MouseFirmware* firmware = nullptr;  // null for an unrelated device
        bool present = true;                // listed at all (a mouse is listed while plugged)
        bool openable = true;  // false: listed but refuses to open, as without permission
    };

    // Adds the mouse's interface; ids and report length come from its configuration.
    Interface& addMouse(MouseFirmware& firmware, std::string path);
    Interface& addDevice(Interface iface);
    Interface* find(const std::string& path);

    std::vector<std::string> interfacePaths() override;
    device::HidHandle open(const std::string& path) override;
    std::optional<device::HidAttributes> attributes(device::HidHandle handle) override;
    std::optional<std::uint16_t> featureReportLength(device::HidHandle handle) override;
    bool setFeature(device::HidHandle handle, std::span<const std::uint8_t> report) override;
    bool getFeature(device::HidHandle handle, std::span<std::uint8_t> report) override;
    void close(device::HidHandle handle) override;
    std::vector<std::string> deniedInterfaces(std::uint16_t vendorId,
                                              std::uint16_t productId) override;

    int openHandleCount() const { return static_cast<int>(handles_.size()); }
    int opensAttempted() const { return opens_; }

  private:
    bool listed(const Interface& iface) const;
    Interface* byHandle(device::HidHandle handle);

    // An open handle: its interface, and for a mouse the plug it was opened in.
    struct Open {
        std::size_t index;
        unsigned generation;
    };
    std::deque<Interface> interfaces_;  // deque: references handed out stay valid
    std::map<device::HidHandle, Open> handles_;
    device::HidHandle nextHandle_ = 3;
    int opens_ = 0;
};

}  // namespace sim
