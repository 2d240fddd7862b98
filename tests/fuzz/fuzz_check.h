#pragma once
// Stops the run where a property the code promises does not hold; libFuzzer reports it as a
// crash and keeps the input.
namespace fuzzing {

inline void require(bool holds) {
    if (!holds) __builtin_trap();
}

}  // namespace fuzzing
