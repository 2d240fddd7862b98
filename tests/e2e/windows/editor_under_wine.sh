#!/usr/bin/env bash
# The Windows program under Wine on a virtual display: its window, the simulated mouse read onto
# the Mouse Keys Page, a key typed into the combination dialog as it opens, the Advanced Page
# after a click, and one window after a second start. Given the folders of the test hid.dll and
# setupapi.dll and of Wine's own, the mouse is the one behind the real SetupAPI and HID path.
#   editor_under_wine.sh WINE EXE ARTIFACT_DIR [TEST_DLL_DIR WINE_DLL_DIR]
# Screenshots of both pages and the dialog are kept in ARTIFACT_DIR. Exit 77 (skipped) without Xvfb or xdotool.
set -euo pipefail
wine=$1 exe=$2 artifacts=$3 test_dlls=${4:-} wine_dlls=${5:-}
# shellcheck source=wine_test_session.sh
source "$(dirname "$0")/wine_test_session.sh"
require_tools Xvfb xdotool convert import compare
begin_wine_test

fail() {
    echo "FAILED: $*" >&2
    [[ -n "${DISPLAY:-}" ]] && import -window root "$artifacts/windows-failure.png" 2>/dev/null || true
    exit 1
}

start_virtual_display
# Made with the display set: Wine's desktop process, started with the prefix, serves its windows.
bash "$(dirname "$0")/prepare_wine_prefix.sh" "$wine" >/dev/null 2>&1 ||
    fail "the Wine prefix $WINEPREFIX could not be made"

[[ -z "$test_dlls" ]] || use_test_hid_dlls "$test_dlls" "$wine_dlls"

"${editor_env[@]}" "$wine" "$exe" >"$work/editor.log" 2>&1 &
editor=$!
pids+=("$editor")
wait_for_editor_window

# A page button at the bottom is red while its page is shown, grey otherwise.
selected() {
    local r g b
    read -r r g b < <(mean_colour 60x20 "$1" 492)
    ((r > 120 && g < 90 && b < 90))
}
advanced=350

# The label of button 6 shows the built-in image's "Forward" until the simulated mouse is read;
# the simulated mouse gives that button its "Triple click" macro. The mouse behind the HID path
# holds the built-in image: it is read in full, then its page shows.
label() { import -window root -crop "96x28+$((wx + 180))+$((wy + 271))" "$work/$1.png"; }
if [[ -n "$test_dlls" ]]; then
    wait_for_hid_read
    until_true 10 mouse_keys_page || fail "the Mouse Keys Page is not shown after the read"
else
    label before
    until_true 20 eval 'label now; ! compare -metric AE "$work/before.png" "$work/now.png" null: 2>/dev/null' ||
        fail "the simulated mouse's labels never appeared"
fi
sleep 0.5  # the rest of the page follows in the same repaint
import -window root -crop "800x600+$wx+$wy" "$artifacts/windows-mouse-keys.png"

# The combination dialog of button 6 (Main Control, profile 1) takes a key typed right after
# it opens, with no click into its field.
xdotool mousemove --window "$window" $((71 + 44)) 502 click 1
sleep 0.5
xdotool mousemove --window "$window" $((180 + 48)) $((270 + 15)) click 1
sleep 0.5
# "User-defined", the fifth entry of the menu that opened at the middle of the label.
xdotool mousemove --window "$window" $((228 + 85)) $((285 + 4 * 24 + 12)) click 1
dx=$((wx + 223)) dy=$((wy + 250))  # centred on the window, 40 pixels lower
field() { import -window root -crop "209x22+$((dx + 56))+$((dy + 68))" "$work/$1.png"; }
white() { (($(convert "$work/$1.png" -resize '1x1!' -format '%[fx:int(255*r)]' info:) > 240)); }
for _ in $(seq 25); do
    field empty
    white empty && break
    sleep 0.2
done
white empty || fail "the combination dialog did not open with an empty field"
xdotool key a
typed=0
for _ in $(seq 25); do
    field now
    if ! compare -metric AE "$work/empty.png" "$work/now.png" null: 2>/dev/null; then
        typed=1
        break
    fi
    sleep 0.2
done
import -window root -crop "354x179+$dx+$dy" "$artifacts/windows-combination-dialog.png"
((typed)) || fail "a key typed right after the combination dialog opened did not show in it"
xdotool mousemove --window "$window" $((223 + 316 + 15)) $((250 + 6 + 15)) click 1  # its close area

xdotool mousemove --window "$window" $((advanced + 30)) 502 click 1
for _ in $(seq 25); do
    selected "$advanced" && break
    sleep 0.2
done
selected "$advanced" || fail "a click on Advanced did not show the Advanced Page"
import -window root -crop "800x600+$wx+$wy" "$artifacts/windows-advanced.png"

# A second start brings the first window forward and ends at once.
timeout 60 "$wine" "$exe" >"$work/second.log" 2>&1 || fail "the second start failed ($?)"
count=$(xdotool search --onlyvisible --name '^Gaming Mouse v1\.0$' | wc -l)
[[ "$count" == 1 ]] || fail "$count windows after a second start"
kill -0 "$editor" 2>/dev/null || fail "the first editor ended"
echo "PASSED: window, Mouse Keys Page, combination dialog, Advanced Page, single instance${sim:+, the mouse through the test HID DLLs}; screenshots in $artifacts"
