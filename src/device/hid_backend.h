#pragma once
// The platform's HID, reduced to what the mouse protocol needs: list the interfaces, open one,
// ask its identity and feature report length, and exchange feature reports.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace device {

using HidHandle = int;
inline constexpr HidHandle kInvalidHandle = -1;

struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
};

class HidBackend {
  public:
    virtual ~HidBackend() = default;
    // Device paths of the HID interfaces present, in the platform's enumeration order.
    virtual std::vector<std::string> interfacePaths() = 0;
    // kInvalidHandle when the path cannot be opened.
    virtual HidHandle open(const std::string& path) = 0;
    virtual std::optional<HidAttributes> attributes(HidHandle handle) = 0;
    // The feature report length as Windows counts it: the largest feature report's data bytes
    // plus one for the report id. Nothing when the interface's descriptor cannot be read.
    virtual std::optional<std::uint16_t> featureReportLength(HidHandle handle) = 0;
    // Sends one feature report; report[0] is the report id.
    virtual bool setFeature(HidHandle handle, std::span<const std::uint8_t> report) = 0;
    // Fetches one feature report; report[0] holds the report id on the way in, and the whole
    // report arrives in `report`.
    virtual bool getFeature(HidHandle handle, std::span<std::uint8_t> report) = 0;
    virtual void close(HidHandle handle) = 0;
    // Paths of interfaces with these ids that are there but that this user may not open; empty
    // where the platform cannot tell.
    virtual std::vector<std::string> deniedInterfaces(std::uint16_t vendorId,
                                                      std::uint16_t productId) {
        (void)vendorId;
        (void)productId;
        return {};
    }
};

}  // namespace device
