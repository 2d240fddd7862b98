#!/usr/bin/env bash
# The Windows program under Wine at 96, 120, 144 and 192 dpi (the account's LogPixels): its
# window is 800 x 600 logical pixels in device pixels, and a click at a page button's scaled
# place shows that page. Screenshots at 150 % and 200 % are kept in ARTIFACT_DIR.
#   editor_scaled_under_wine.sh WINE EXE ARTIFACT_DIR
# Exit 77 (skipped) without Xvfb, xdotool or ImageMagick.
set -euo pipefail
wine=$1 exe=$2 artifacts=$3
# shellcheck source=wine_test_session.sh
source "$(dirname "$0")/wine_test_session.sh"
require_tools Xvfb xdotool convert import
begin_wine_test

fail() {
    echo "FAILED: $*" >&2
    [[ -n "${DISPLAY:-}" ]] && import -window root "$artifacts/windows-scaled-failure.png" 2>/dev/null || true
    exit 1
}

start_virtual_display 1700x1300
bash "$(dirname "$0")/prepare_wine_prefix.sh" "$wine" >/dev/null 2>&1 ||
    fail "the Wine prefix $WINEPREFIX could not be made"
server="$(dirname "$wine")/wineserver"
[[ -x "$server" ]] || server=wineserver

for dpi in 96 120 144 192; do
    # A logical length in device pixels at this dpi.
    at() { echo $((($1 * dpi + 48) / 96)); }
    # Every Wine process reads the setting as it starts: the server and its desktop go first.
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        </dev/null >/dev/null 2>&1 || fail "LogPixels $dpi was not set"
    "$server" -k 2>/dev/null || true
    "$server" -w
    "$server" -p </dev/null >/dev/null 2>&1

    "${editor_env[@]}" "$wine" "$exe" >"$work/editor-$dpi.log" 2>&1 &
    editor=$!
    pids+=("$editor")
    wait_for_editor_window "$(at 800)x$(at 600)"

    # A page button is red while its page is up (grey before): a strip left of its caption.
    red_button() {  # X of the button
        local r g b
        read -r r g b < <(mean_colour "$(at 8)x$(at 28)" "$(at $(($1 + 3)))" "$(at 488)")
        ((r > 120 && g < 90 && b < 90))
    }
    # Pages open once the simulated mouse is read: button 6's label then names its macro,
    # "Triple click", wider than the built-in "Forward" and so lit near the label's left end.
    macro_named() {
        import -window root -crop "$(at 10)x$(at 14)+$((wx + $(at 186)))+$((wy + $(at 278)))" "$work/label.png"
        (($(convert "$work/label.png" -format '%[fx:int(255*maxima)]' info:) > 200))
    }
    until_true 30 macro_named || fail "the simulated mouse was not read at $dpi dpi"
    red_button 341 && fail "the Advanced Page is up before the click at $dpi dpi"
    xdotool mousemove --window "$window" "$(at 380)" "$(at 502)" click 1
    until_true 10 red_button 341 || fail "a click at Advanced's place did not show its page at $dpi dpi"
    sleep 0.5
    percent=$((dpi * 100 / 96))
    if ((percent == 150 || percent == 200)); then
        import -window root -crop "$(at 800)x$(at 600)+$wx+$wy" "$artifacts/windows-advanced-$percent.png"
    fi
    kill "$editor" 2>/dev/null || true
    wait "$editor" 2>/dev/null || true
    echo "$dpi dpi: window $(at 800) x $(at 600), Advanced hit"
done
echo "PASSED: the window's size and a page click at 96, 120, 144 and 192 dpi; screenshots in $artifacts"
