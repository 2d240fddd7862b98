#pragma once
// A system-wide input capture that the test drives: it starts unless told to fail, and the
// test calls its handlers as the platform would.
#include "macros/input_capture.h"

namespace scenario {

struct FakeCapture : macros::InputCapture {
    Handlers handlers;
    bool running = false;
    bool available = true;
    bool start(Handlers h) override {
        if (!available) return false;
        handlers = std::move(h);
        running = true;
        return true;
    }
    void stop() override { running = false; }
};

}  // namespace scenario
