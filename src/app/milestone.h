#pragma once
// For the benchmarks in bench/: moments of the editor's life ("editable", "macros") appended
// to the file QUORVEX_MILESTONE_FILE names, one "<name> <nanoseconds since the epoch>" line
// each. Nothing without the variable.
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace app {

inline void reportMilestone(const char* name) {
    static const char* const file = std::getenv("QUORVEX_MILESTONE_FILE");
    if (!file || !*file) return;
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    if (FILE* f = std::fopen(file, "a")) {
        std::fprintf(f, "%s %lld\n", name, static_cast<long long>(now));
        std::fclose(f);
    }
}

}  // namespace app
