# shellcheck shell=bash
# Shared by the Windows end-to-end scripts (sourced, not run): the tools a script needs, a work
# folder removed on exit together with the script's own Wine server, a virtual display, the
# editor's window, and the test HID DLLs with the simulated machine behind them.
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
start_virtual_display() {  # [WxH, 1024x768 unless given]
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
    pids+=($!)
    local i
    for i in $(seq 200); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.1; done
    grep -q . "$work/display" || fail "Xvfb did not say which display it serves within 20 s"
    DISPLAY=":$(head -1 "$work/display")"
    export DISPLAY
    for i in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb on $DISPLAY took no client within 10 s"
}

# Polls a command until it succeeds, for up to $1 seconds.
until_true() {
    local limit=$1
    shift
    local end=$((SECONDS + limit))
    until "$@"; do
        ((SECONDS < end)) || return 1
        sleep 0.1
    done
}

# How the editor is started: with the mouse simulated inside the program, unless
# use_test_hid_dlls gives it the one behind the real SetupAPI and HID path.
editor_env=(env QUORVEX_SIMULATED_MOUSE=macro)

# Test builds of hid.dll and setupapi.dll from TEST_DLLS, over a simulated machine in $sim whose
# devices OPTIONS name, replace Wine's for the editor alone: every other program of the prefix
# keeps Wine's own. Wine's own, from WINE_DLLS, go beside them under other names, for what the
# test DLLs forward. Needs the prefix made.
use_test_hid_dlls() {  # TEST_DLLS WINE_DLLS [OPTIONS]
    local system32="$WINEPREFIX/drive_c/windows/system32" dll
    for dll in hid setupapi; do
        cp "$1/$dll.dll" "$system32/$dll.dll"
        cp "$2/$dll.dll" "$system32/${dll}_orig.dll"
    done
    cat >"$WINEPREFIX/drive_c/quorvex-hid-overrides.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"hid"="builtin"
"setupapi"="builtin"

[HKEY_CURRENT_USER\Software\Wine\AppDefaults\quorvex-editor.exe\DllOverrides]
"hid"="native"
"setupapi"="native"
REG
    "$wine" reg import 'C:\quorvex-hid-overrides.reg' >/dev/null 2>&1 || fail "the DLL overrides were not taken"
    sim="$WINEPREFIX/drive_c/quorvex-hid"
    rm -rf "$sim"
    mkdir -p "$sim"
    echo "${3:-}" >"$sim/options"
    : >"$sim/ctl"
    commands=0
    editor_env=(env -u QUORVEX_SIMULATED_MOUSE QUORVEX_HID_SIM_DIR='C:\quorvex-hid')
}
status() { cat "$sim/status" 2>/dev/null || true; }
counter() { status | sed -n "s/^$1 //p"; }
at_least() { [[ $(counter "$1") -ge $2 ]] 2>/dev/null; }  # counter, value
# Runs a control command and waits until the machine has taken it.
control() {
    echo "$1" >>"$sim/ctl"
    commands=$((commands + 1))
    until_true 10 at_least handled "$commands" ||
        fail "the simulated machine did not take \"$1\""
}
# The whole macro mouse read through the test DLLs: 3.5 s to the first poll, 2 s of waiting,
# then 4,895 fetches; up to 90 s on a loaded machine.
wait_for_hid_read() {
    until_true 90 at_least data_out 4895 ||
        fail "the mouse was not read through the test DLLs: $(status | tr '\n' ' ')"
}

# The editor's window, 800 x 600 (or WxH), once it shows: sets window, wx and wy.
wait_for_editor_window() {  # [WxH]
    local size=${1:-800x600} geometry="" _
    window=""
    for _ in $(seq 450); do  # up to 90 s: a loaded machine starts Wine slowly
        window=$(xdotool search --onlyvisible --name '^Gaming Mouse v1\.0$' 2>/dev/null | head -1 || true)
        [[ -n "$window" ]] && geometry=$(xdotool getwindowgeometry "$window" 2>/dev/null || true)
        grep -q "Geometry: $size" <<<"$geometry" && break
        sleep 0.2
    done
    [[ -n "$window" ]] || fail "no window captioned \"Gaming Mouse v1.0\" appeared"
    grep -q "Geometry: $size" <<<"$geometry" || fail "the window is not $size: $geometry"
    read -r wx wy < <(sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p' <<<"$geometry")
}

# The mean colour of a part of the editor's window: "r g b".
mean_colour() {  # WxH X Y
    import -window root -crop "$1+$((wx + $2))+$((wy + $3))" "$work/mean.png"
    convert "$work/mean.png" -resize '1x1!' -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}
# The red ring on the mouse picture shows the Mouse Keys Page.
mouse_keys_page() {
    local r g b
    read -r r g b < <(mean_colour 4x4 429 339)
    ((r > 150 && g < 90 && b < 90))
}
