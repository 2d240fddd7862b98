// HID report descriptors as the kernel hands them over: parsed or refused, never overrun.
#include "device/report_descriptor.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto length = device::featureReportLength({data, size});
    if (size > device::kMaxReportDescriptorSize) fuzzing::require(!length);
    return 0;
}
