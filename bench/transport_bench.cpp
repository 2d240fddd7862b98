// Software cost of the full macro-device transfers through HidTransport and the in-process
// simulator: what the program adds on top of the USB control transfers.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "device/hid_transport.h"
#include "sim/sim_presets.h"

namespace {

using device::Access;

// Reports the data reports of one run and the time per report.
void countReports(benchmark::State& state, int reports) {
    const int perRun = reports / static_cast<int>(state.iterations());
    state.counters["data_reports"] = perRun;
    state.counters["per_report"] = benchmark::Counter(
        static_cast<double>(reports), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

struct Rig {
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    device::HidTransport link{mouse};
    Rig() {
        mouse.firmware.setLogging(false);
        link.OpenMouse(0x1209, 0x5158);
    }
    int reports() const {
        const auto& c = mouse.firmware.counters();
        return c.dataReportsIn + c.dataReportsOut;
    }
};

// 256 + 1024 + 32 x 1024 + 5 + 4 bytes after ten erases: 4,923 data reports.
void fullWrite(device::HidTransport& link, const std::vector<std::uint8_t>& bytes) {
    for (int sector = 0x60; sector <= 0xF0; sector += 0x10) {
        link.SendCommand(device::kCmdSectorErase, static_cast<std::uint8_t>(sector), 0, 0, 0);
    }
    const auto* p = bytes.data();
    link.WriteBlock(Access::Long, 0x6000, 256, {p, 256});
    for (int k = 0; k < 4; ++k) link.WriteBlock(Access::Long, 0x6400 + k * 0x100, 256, {p, 256});
    for (int i = 0; i < 32; ++i) {
        for (int k = 0; k < 4; ++k) {
            link.WriteBlock(Access::Long,
                            static_cast<std::uint16_t>(0x8000 + i * 0x400 + k * 0x100), 256,
                            {p, 256});
        }
    }
    link.WriteBlock(Access::Long, 0x7000, 5, {p, 5});
    link.WriteBlock(Access::Long, 0x7005, 4, {p, 4});
}

// 256 + 32 x 1024 + 1024 + 5 + 4 bytes: 4,890 data reports.
void fullRead(device::HidTransport& link, std::vector<std::uint8_t>& target) {
    auto* p = target.data();
    link.ReadBlock(Access::Long, 0x6000, 256, {p, 256});
    for (int i = 0; i < 32; ++i)
        link.ReadBlock(Access::Long, static_cast<std::uint16_t>(0x8000 + i * 0x400), 1024,
                       {p, 1024});
    link.ReadBlock(Access::Long, 0x6400, 1024, {p, 1024});
    link.ReadBlock(Access::Long, 0x7000, 5, {p, 5});
    link.ReadBlock(Access::Long, 0x7005, 4, {p, 4});
}

void BM_FullMacroDeviceWrite(benchmark::State& state) {
    Rig rig;
    const std::vector<std::uint8_t> bytes(1024, 0x5A);
    const int before = rig.reports();
    for (auto _ : state) fullWrite(rig.link, bytes);
    countReports(state, rig.reports() - before);
}
BENCHMARK(BM_FullMacroDeviceWrite)->Unit(benchmark::kMillisecond);

void BM_FullMacroDeviceRead(benchmark::State& state) {
    Rig rig;
    std::vector<std::uint8_t> target(1024);
    const int before = rig.reports();
    for (auto _ : state) {
        fullRead(rig.link, target);
        benchmark::DoNotOptimize(target.data());
    }
    countReports(state, rig.reports() - before);
}
BENCHMARK(BM_FullMacroDeviceRead)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
