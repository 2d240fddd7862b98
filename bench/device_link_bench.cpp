// Total software time of a full macro-device read and write through DeviceLink, with the
// in-process simulator and a host whose queue run costs nothing.
#include <benchmark/benchmark.h>

#include "device/device_link.h"
#include "image/builtin_image.h"
#include "sim/sim_presets.h"

namespace {

struct NullWindow : device::LinkWindow {
    void HideAllMenu() override {}
    void LockWindow() override {}
    void UnlockWindow() override {}
    void ShowWaitWindow() override {}
    void HideWaitWindow() override {}
    void SetDevTimerEnabled(bool) override {}
    void ShowStateLabels(StateLabels) override {}
    void RefreshErrorAP() override {}
    void ShowDevicePages() override {}
    void ShowNoDevicePage() override {}
    void RefreshMacroName() override {}
    void UIToMacroName() override {}
    void ClearMacroEditor() override {}
    void RefreshMouseSystemParameters() override {}
    void ApplyMouseSystemParameters() override {}
    void ShowMessage(std::string_view) override {}
    void ShowPressedPicture(std::string_view) override {}
    void CloseMainWindow() override {}
    void DeviceIdle() override {}
    void BackUpMouse(const image::DataBuf&, std::string_view) override {}
};

struct FreeHost : device::LinkHost {
    void sleep(int) override {}
    void processMessages() override {}
};

struct Rig {
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    device::HidTransport transport{mouse};
    NullWindow window;
    FreeHost host;
    image::EditorImage img;
    device::DeviceLink link{transport, window, host, img};
    Rig() {
        mouse.firmware.setLogging(false);
        image::LoadBuiltInImage(img.dataBuf);
        link.TakeStartupIdentity();
        link.DevTimerTimer();  // detects and reads once
    }
};

void BM_DeviceLinkFullRead(benchmark::State& state) {
    Rig rig;
    if (rig.link.deviceKind() != device::DeviceKind::Macro)
        state.SkipWithError("mouse not detected");
    for (auto _ : state) rig.link.Btn_Read();
}
BENCHMARK(BM_DeviceLinkFullRead)->Unit(benchmark::kMillisecond);

void BM_DeviceLinkFullWrite(benchmark::State& state) {
    Rig rig;
    if (rig.link.deviceKind() != device::DeviceKind::Macro)
        state.SkipWithError("mouse not detected");
    for (auto _ : state) rig.link.DownloadParameter();
}
BENCHMARK(BM_DeviceLinkFullWrite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
