#pragma once
// For the start-up measurement (bench/startup.sh): the time of the first paint, written to the
// file QUORVEX_FIRST_PAINT_FILE names, as nanoseconds since the epoch.
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace qtui {

inline void reportFirstPaint() {
    const char* file = std::getenv("QUORVEX_FIRST_PAINT_FILE");
    if (!file || !*file) return;
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    if (FILE* f = std::fopen(file, "w")) {
        std::fprintf(f, "%lld\n", static_cast<long long>(now));
        std::fclose(f);
    }
}

}  // namespace qtui
