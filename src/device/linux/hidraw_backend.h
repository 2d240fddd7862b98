#pragma once
// HidBackend on the Linux hidraw driver.
#include <optional>
#include <string>

#include "device/hid_backend.h"

namespace device {

class HidrawBackend : public HidBackend {
  public:
    // Lists hidraw nodes in `directory` (/dev, or where the program's choice of backend points).
    // The ids of nodes that cannot be opened come from `sysfsDirectory` (the kernel's
    // /sys/class/hidraw for /dev; none for another folder unless given).
    explicit HidrawBackend(std::string directory,
                           std::optional<std::string> sysfsDirectory = std::nullopt);

    std::vector<std::string> interfacePaths() override;
    HidHandle open(const std::string& path) override;
    std::optional<HidAttributes> attributes(HidHandle handle) override;
    std::optional<std::uint16_t> featureReportLength(HidHandle handle) override;
    bool setFeature(HidHandle handle, std::span<const std::uint8_t> report) override;
    bool getFeature(HidHandle handle, std::span<std::uint8_t> report) override;
    void close(HidHandle handle) override;
    std::vector<std::string> deniedInterfaces(std::uint16_t vendorId,
                                              std::uint16_t productId) override;

  private:
    std::string directory_;
    std::string sysfsDirectory_;
};

}  // namespace device
