# shellcheck shell=bash
# Shared by the Windows end-to-end scripts (sourced, not run): the tools a script needs, a work
# folder removed on exit together with the script's own Wine server, and a virtual display.
# The sourcing script sets `wine` and `artifacts` and defines fail() first.

# Exit 77 (skipped) when a tool is missing.
require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is missing"; exit 77; }
    done
}

# Makes $work and $pids; everything in them goes when the script exits.
begin_wine_test() {
    mkdir -p "$artifacts"
    work=$(mktemp -d)
    pids=()
    trap end_wine_test EXIT
}
end_wine_test() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    "$(dirname "$wine")/wineserver" -k 2>/dev/null || true  # the prefix is this test's own
    rm -rf "$work"
}

# A display of our own, whichever number is free, once it takes a client: listening is not yet
# answering. No reset as the probe leaves: a reset can refuse the next client for a moment.
start_virtual_display() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
    pids+=($!)
    local i
    for i in $(seq 200); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.1; done
    grep -q . "$work/display" || fail "Xvfb did not say which display it serves within 20 s"
    DISPLAY=":$(head -1 "$work/display")"
    export DISPLAY
    for i in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb on $DISPLAY took no client within 10 s"
}
