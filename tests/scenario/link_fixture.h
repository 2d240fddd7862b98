#pragma once
// A device link wired to a simulated mouse, a recording window and a host on virtual time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/device_link.h"
#include "image/builtin_image.h"
#include "sim/sim_backend.h"
#include "sim/sim_presets.h"

namespace scenario {

// Records every call the link makes, in order, as a short text.
class RecordingWindow : public device::LinkWindow {
  public:
    std::vector<std::string> calls;
    std::vector<std::string> messages;
    int refreshUI = 0;
    bool devTimerEnabled = true;
    bool locked = false;

    void HideAllMenu() override { calls.push_back("HideAllMenu"); }
    void LockWindow() override {
        calls.push_back("LockWindow");
        locked = true;
    }
    void UnlockWindow() override {
        calls.push_back("UnlockWindow");
        locked = false;
    }
    void ShowWaitWindow() override { ++waitShows; }
    void ShowTransferProgress(int done, int total) override { progress.emplace_back(done, total); }
    void HideWaitWindow() override { calls.push_back("HideWaitWindow"); }
    void SetDevTimerEnabled(bool on) override {
        calls.push_back(on ? "StartDevTimer" : "StopDevTimer");
        devTimerEnabled = on;
    }
    void ShowStateLabels(StateLabels l) override {
        calls.push_back(l == StateLabels::TypeError ? "TypeErrorLabel"
                        : l == StateLabels::IdError ? "IdErrorLabel"
                                                    : "HideStateLabels");
    }
    void RefreshErrorAP() override { calls.push_back("RefreshErrorAP"); }
    void ShowDevicePages() override { calls.push_back("ShowDevicePages"); }
    void ShowNoDevicePage() override { calls.push_back("ShowNoDevicePage"); }
    void RefreshMacroName() override { calls.push_back("RefreshMacroName"); }
    void UIToMacroName() override { calls.push_back("UIToMacroName"); }
    void ClearMacroEditor() override { calls.push_back("ClearMacroEditor"); }
    void RefreshMouseSystemParameters() override {
        calls.push_back("RefreshMouseSystemParameters");
    }
    void ApplyMouseSystemParameters() override { calls.push_back("ApplyMouseSystemParameters"); }
    void ShowMessage(std::string_view key) override { messages.emplace_back(key); }
    void ShowPressedPicture(std::string_view b) override {
        calls.push_back("Pressed " + std::string(b));
    }
    void CloseMainWindow() override { calls.push_back("CloseMainWindow"); }
    void DeviceIdle() override { ++idles; }
    void BackUpMouse(const image::DataBuf& profile, std::string_view stem) override {
        backups.emplace_back(std::string(stem), profile);
    }
    void RefreshUI() override {
        ++refreshUI;
        calls.push_back("RefreshUI");
    }
    void UIToDataBuf() override {
        calls.push_back("UIToDataBuf");
        if (onUIToDataBuf) onUIToDataBuf();
    }

    bool called(const std::string& name) const {
        return std::find(calls.begin(), calls.end(), name) != calls.end();
    }
    int waitShows = 0;
    std::vector<std::pair<int, int>> progress;
    int idles = 0;
    std::vector<std::pair<std::string, image::DataBuf>> backups;
    std::function<void()> onUIToDataBuf;
};

class VirtualHost : public device::LinkHost {
  public:
    long long now = 0;
    int queueRuns = 0;
    std::vector<int> sleeps;
    void sleep(int ms) override {
        now += ms;
        sleeps.push_back(ms);
    }
    void processMessages() override { ++queueRuns; }
};

struct LinkRig {
    explicit LinkRig(sim::FirmwareConfig config = sim::presetConfig(sim::DeviceKind::Macro))
        : firmware(config) {
        sim::programFactoryContents(firmware);
        backend.addDevice({"kbd", 0x046D, 0xC31C, 0, nullptr});
        mouseIface = &backend.addMouse(firmware, "mouse");
        EXPECT_TRUE(image::LoadBuiltInImage(img.dataBuf));
        link.TakeStartupIdentity();
    }
    // One poll that finds the interface count changed and runs detection.
    void detect() { link.DevTimerTimer(); }

    sim::MouseFirmware firmware;
    sim::SimBackend backend;
    sim::SimBackend::Interface* mouseIface;
    device::HidTransport transport{backend};
    RecordingWindow window;
    VirtualHost host;
    image::EditorImage img;
    device::DeviceLink link{transport, window, host, img};
};

}  // namespace scenario
