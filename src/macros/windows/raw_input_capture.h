#pragma once
// The Windows capture: raw keyboard and mouse input and a low-level mouse hook.
#include "macros/input_capture.h"

namespace macros {

// Takes the running capture's mouse hook away without telling it, as Windows does with a hook
// that did not answer in time. For tests: Wine never removes a hook.
void removeMouseHookUnnoticed(InputCapture& capture);

}  // namespace macros
