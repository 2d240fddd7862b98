// Detection and the read that follows it, through the window, of a mouse whose identification
// and memory are the fuzzer's bytes. The bytes are XORed onto the simulated macro mouse, so an
// input of zeros is that mouse itself and small inputs change it a little.
#include "fuzz_window.h"

namespace {

constexpr std::size_t kConfigBytes = 14;

sim::FirmwareConfig configFrom(const std::uint8_t* x) {
    sim::FirmwareConfig c = sim::presetConfig(sim::DeviceKind::Macro);
    c.vendorId ^= std::uint16_t(x[0] << 8 | x[1]);
    c.productId ^= std::uint16_t(x[2] << 8 | x[3]);
    c.featureReportLength ^= std::uint16_t(x[4] << 8 | x[5]);
    if (x[6] & 1) c.kind = sim::DeviceKind::ImageOnly;
    c.layout ^= x[7];
    c.classByte ^= x[8];
    c.optionByte ^= x[9];
    c.flashRegister ^= x[10];
    c.checkRegister ^= x[11];
    c.modelId[0] ^= x[12];
    c.modelId[1] ^= x[13];
    return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto* w = [] {
        auto* window = new fuzzing::FuzzWindow;
        window->form.FormCreate();
        return window;
    }();
    // The mouse before is gone first, so that the next poll meets a new one.
    w->mouse.firmware.unplug();
    w->host.advance(1000);

    std::array<std::uint8_t, kConfigBytes> x{};
    std::copy_n(data, std::min(size, kConfigBytes), x.begin());
    sim::MouseFirmware firmware(configFrom(x.data()));
    sim::programFactoryContents(firmware);
    auto& memory = firmware.memory();
    for (std::size_t i = kConfigBytes; i < size; ++i)
        memory[(sim::MouseFirmware::kImageAddress + i - kConfigBytes) % memory.size()] ^= data[i];
    w->mouse.firmware = firmware;
    auto* iface = w->mouse.find("sim/hidraw1");
    iface->vendorId = firmware.config().vendorId;
    iface->productId = firmware.config().productId;
    iface->featureReportLength = firmware.config().featureReportLength;
    w->host.advance(3500);  // detection and, for a mouse that passes it, the read
    w->host.messages.clear();
    return 0;
}
