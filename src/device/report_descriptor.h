#pragma once
// Reads a HID report descriptor far enough to tell the feature report length as Windows
// reports it (HIDP_CAPS::FeatureReportByteLength).
#include <cstdint>
#include <optional>
#include <span>

namespace device {

// The largest feature report's data bytes plus one byte for the report id (also when the
// descriptor uses no report ids); 0 when it declares no feature report. Nothing when the
// descriptor is malformed, truncated or implausibly large: such an interface is not usable.
std::optional<std::uint16_t> featureReportLength(std::span<const std::uint8_t> descriptor);

// The kernel's own limit on descriptor size.
inline constexpr std::size_t kMaxReportDescriptorSize = 4096;

}  // namespace device
