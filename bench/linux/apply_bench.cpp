// Apply through the hidraw backend, the kernel and quorvex-mouse-sim over FUSE: data reports,
// erases and wall time for one button, one macro, one macro name and everything changed, beside
// the full write (Reset sends exactly that traffic), and the read-back verify on its own.
#include <benchmark/benchmark.h>

#include <functional>
#include <optional>

#include "cli/mouse_session.h"
#include "device/linux/hidraw_backend.h"
#include "device/write_plan.h"
#include "image/sections.h"
#include "mounted_sim.h"

namespace {

using Edit = std::function<void(image::EditorImage&, int round)>;

const Edit kOneButton = [](image::EditorImage& img, int round) {
    img.sectionBuf[image::kProfile.offset + 4] = static_cast<image::Byte>(round % 2 ? 0x05 : 0x01);
};
const Edit kOneMacro = [](image::EditorImage& img, int round) {
    img.dataBuf.macros[9][3] = static_cast<image::Byte>(round);
};
const Edit kOneName = [](image::EditorImage& img, int round) {
    img.dataBuf.macroNames[32 * 3 + 5] = static_cast<image::Byte>('a' + round % 26);
};
const Edit kEverything = [](image::EditorImage& img, int round) {
    kOneButton(img, round);
    img.dataBuf.macroNames.back() = static_cast<image::Byte>(round);
    for (auto& m : img.dataBuf.macros) m.back() = static_cast<image::Byte>(round);
};

// The simulated mouse mounted, found through hidraw and read, as quorvex-ctl finds it.
struct MountedMouse {
    e2e::MountedSim sim;
    std::optional<device::HidrawBackend> backend;
    std::optional<cli::MouseSession> session;

    // False, with the benchmark skipped, when the mouse could not be mounted or read whole.
    bool ready(benchmark::State& state) {
        if (!sim.running()) {
            state.SkipWithError(sim.skipReason().c_str());
            return false;
        }
        backend.emplace(sim.dir());
        session.emplace(*backend, nullptr);
        if (session->connect() != cli::kOk || !session->link().mouseContents()) {
            state.SkipWithError("the simulated mouse was not read");
            return false;
        }
        return true;
    }
};

// One Apply per iteration after `edit`; `full` runs Reset instead, the full write.
void apply(benchmark::State& state, const Edit& edit, bool full) {
    MountedMouse mouse;
    if (!mouse.ready(state)) return;
    cli::MouseSession& session = *mouse.session;
    e2e::MountedSim& sim = mouse.sim;
    sim.control("clear-counters");
    int round = 0;
    for (auto _ : state) {
        if (full) {
            benchmark::DoNotOptimize(session.link().DefaultParameter());
        } else {
            edit(session.editorImage(), ++round);
            benchmark::DoNotOptimize(session.link().DownloadParameter());
        }
    }
    const auto perApply = [&](const char* counter) {
        return benchmark::Counter(static_cast<double>(sim.counter(counter)) /
                                  static_cast<double>(state.iterations()));
    };
    state.counters["data_reports"] = perApply("data_in");
    state.counters["erases"] = perApply("erases");
    state.counters["read_back"] = perApply("data_out");
}

// The verify alone: every block a write of `edit` sends, read back once per iteration.
void verifyOnly(benchmark::State& state, const Edit& edit) {
    MountedMouse mouse;
    if (!mouse.ready(state)) return;
    cli::MouseSession& session = *mouse.session;
    // The same edit on what the mouse holds gives the blocks the Apply would write.
    const device::MouseContents& held = *session.link().mouseContents();
    image::EditorImage img;
    img.dataBuf = held.buf;
    image::copyToSectionBuf(img.dataBuf.image, img.sectionBuf, image::kProfile, image::kLayout58);
    edit(img, 1);
    image::copyToDataBuf(img.sectionBuf, img.dataBuf.image, image::kProfile, image::kLayout58);
    device::MouseContents intended = held;
    intended.buf = img.dataBuf;
    const device::WritePlan plan = device::planWrite(intended, held, device::DeviceKind::Macro,
                                                     device::Access::Long);
    device::HidTransport transport(*mouse.backend);
    transport.OpenMouse(0x1209, 0x5158);
    std::vector<image::Byte> back;
    for (auto _ : state) {
        for (const device::WriteBlock& b : plan.blocks) {
            back.resize(b.bytes.size());
            transport.ReadBlock(b.access, b.address, static_cast<std::uint16_t>(back.size()), back);
        }
    }
    state.counters["blocks"] = static_cast<double>(plan.blocks.size());
}

}  // namespace

BENCHMARK_CAPTURE(apply, full_write_reset, kEverything, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(apply, one_button, kOneButton, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(apply, one_macro, kOneMacro, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(apply, one_macro_name, kOneName, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(apply, everything, kEverything, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(verifyOnly, one_button, kOneButton)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(verifyOnly, one_macro, kOneMacro)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(verifyOnly, one_macro_name, kOneName)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(verifyOnly, everything, kEverything)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
