// Total software time of a full macro-device read and write through DeviceLink, with the
// in-process simulator and a host whose queue run costs nothing.
#include <benchmark/benchmark.h>

#include "cli/mouse_session.h"
#include "sim/sim_presets.h"

namespace {

struct FreeHost : device::LinkHost {
    void sleep(int) override {}
    void processMessages() override {}
};

// The link without a window, as quorvex-ctl runs it, after detection and the first read.
struct Rig {
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    FreeHost host;
    cli::MouseSession session{mouse, nullptr, &host};
    device::DeviceLink& link = session.link();
    Rig() {
        mouse.firmware.setLogging(false);
        session.connect();
    }
};

void BM_DeviceLinkFullRead(benchmark::State& state) {
    Rig rig;
    if (rig.link.deviceKind() != device::DeviceKind::Macro)
        state.SkipWithError("mouse not detected");
    for (auto _ : state) rig.link.Btn_Read();
}
BENCHMARK(BM_DeviceLinkFullRead)->Unit(benchmark::kMillisecond);

// Reset sends the full write: every sector erased, written and read back.
void BM_DeviceLinkFullWrite(benchmark::State& state) {
    Rig rig;
    if (rig.link.deviceKind() != device::DeviceKind::Macro)
        state.SkipWithError("mouse not detected");
    for (auto _ : state) rig.link.DefaultParameter();
}
BENCHMARK(BM_DeviceLinkFullWrite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
