#pragma once
// HidBackend on the Linux hidraw driver.
#include <string>

#include "device/hid_backend.h"

namespace device {

class HidrawBackend : public HidBackend {
  public:
    // Lists hidraw nodes in `directory`; by default the one named by QUORVEX_HIDRAW_DIR, else /dev.
    explicit HidrawBackend(std::string directory = defaultDirectory());

    static std::string defaultDirectory();

    std::vector<std::string> interfacePaths() override;
    HidHandle open(const std::string& path) override;
    std::optional<HidAttributes> attributes(HidHandle handle) override;
    std::optional<std::uint16_t> featureReportLength(HidHandle handle) override;
    bool setFeature(HidHandle handle, std::span<const std::uint8_t> report) override;
    bool getFeature(HidHandle handle, std::span<std::uint8_t> report) override;
    void close(HidHandle handle) override;

  private:
    std::string directory_;
};

}  // namespace device
