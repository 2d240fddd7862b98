#pragma once
// The main window with a simulated macro mouse, started and detected on virtual time.
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "fake_capture.h"
#include "fake_host.h"
#include "sim/sim_presets.h"

namespace scenario {

struct DetectedWindow : ::testing::Test {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    app::TForm1 form{host, mouse};

    FakeCapture* capture = nullptr;

    void SetUp() override {
        auto c = std::make_unique<FakeCapture>();
        capture = c.get();
        form.setInputCapture(std::move(c));
        form.FormCreate();
        host.advance(3500);  // the first poll detects and reads the mouse
        ASSERT_TRUE(form.link().deviceOpen());
    }
    ui::Control& c(const std::string& name) { return form.at(name); }
    // Selects a macro slot on the macro page and shows it.
    void showSlot(int slot) {
        form.Btn_MacroClick();
        c("LB_MacroName").setItemIndex(slot);
        form.LB_MacroNameClick();
    }
};

}  // namespace scenario
