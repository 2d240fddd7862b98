#pragma once
// What the window-level fuzz targets share: the main window on a virtual-time host with a
// simulated macro mouse, made and detected once per process, and files the fuzzer's bytes go to.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/main_form.h"
#include "fuzz_check.h"
#include "fake_host.h"
#include "sim/sim_presets.h"

namespace fuzzing {

struct FuzzWindow {
    testing_support::FakeHost host;
    sim::SimulatedMouse mouse{sim::DeviceKind::Macro};
    app::TForm1 form{host, mouse};

    // The window after FormCreate and the first poll, which detects and reads the mouse.
    static FuzzWindow& detected();
};

// A file of this process under the temporary folder holding exactly the given bytes.
std::string writeTempFile(const std::string& name, const std::uint8_t* data, std::size_t size);

}  // namespace fuzzing
