#pragma once
// HID on Windows: SetupAPI lists the HID interfaces, device paths open as files, HID.dll tells
// attributes and capabilities and exchanges feature reports. The functions come from a table,
// loaded the first time they are needed.
#include <functional>
#include <map>
#include <optional>

#include "device/hid_backend.h"
#include "device/windows/hid_api.h"

namespace device {

class WindowsHidBackend : public HidBackend {
  public:
    // `load` gives the function table; it is called once, at the first use.
    explicit WindowsHidBackend(std::function<const HidApi&()> load) : load_(std::move(load)) {}
    ~WindowsHidBackend() override;

    std::vector<std::string> interfacePaths() override;
    HidHandle open(const std::string& path) override;
    std::optional<HidAttributes> attributes(HidHandle handle) override;
    std::optional<std::uint16_t> featureReportLength(HidHandle handle) override;
    bool setFeature(HidHandle handle, std::span<const std::uint8_t> report) override;
    bool getFeature(HidHandle handle, std::span<std::uint8_t> report) override;
    void close(HidHandle handle) override;

  private:
    const HidApi& api();
    HANDLE native(HidHandle handle) const;

    std::function<const HidApi&()> load_;
    const HidApi* api_ = nullptr;
    std::map<HidHandle, HANDLE> handles_;
    HidHandle next_ = 1;
};

}  // namespace device
