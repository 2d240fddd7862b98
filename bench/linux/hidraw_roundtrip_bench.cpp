// Round trip of one feature report through the hidraw backend, the kernel and
// quorvex-mouse-sim over FUSE.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "device/hid_transport.h"
#include "device/linux/hidraw_backend.h"
#include "mounted_sim.h"

namespace {

// Runs `report` once per iteration on the simulated mouse opened through hidraw.
template <typename Report>
void roundTrips(benchmark::State& state, Report report) {
    e2e::MountedSim sim;
    if (!sim.running()) {
        state.SkipWithError(sim.skipReason().c_str());
        return;
    }
    device::HidrawBackend backend(sim.dir());
    device::HidTransport link(backend);
    if (!link.OpenMouse(0x1209, 0x5158)) {
        state.SkipWithError("the simulated mouse did not open");
        return;
    }
    link.SendCommand(device::kCmdLongRead, 0x80, 0x00, 0x04, 0x00);
    for (auto _ : state) report(link);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_HidrawFetchRoundTrip(benchmark::State& state) {
    roundTrips(state,
               [](device::HidTransport& link) { benchmark::DoNotOptimize(link.ReceiveData()); });
}
BENCHMARK(BM_HidrawFetchRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_HidrawSendRoundTrip(benchmark::State& state) {
    const device::Chunk chunk{1, 2, 3, 4, 5, 6, 7};
    roundTrips(state,
               [&](device::HidTransport& link) { benchmark::DoNotOptimize(link.SendData(chunk)); });
}
BENCHMARK(BM_HidrawSendRoundTrip)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
