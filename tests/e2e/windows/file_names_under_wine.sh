#!/usr/bin/env bash
# The Windows program under Wine for an account named "José", started in a folder with a
# Chinese name: Export All and Import All through the system's file dialogs in that folder, the
# Macro Page after the import, and Apply making the backup in the account's own data folder.
#   file_names_under_wine.sh WINE EXE ARTIFACT_DIR
# The screenshot is kept in ARTIFACT_DIR. Exit 77 (skipped) without Xvfb or xdotool.
set -euo pipefail
wine=$1 exe=$2 artifacts=$3
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is missing"; exit 77; }
done
mkdir -p "$artifacts"
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    "$(dirname "$wine")/wineserver" -k 2>/dev/null || true  # the prefix is this test's own
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    [[ -n "${DISPLAY:-}" ]] && import -window root "$artifacts/windows-file-names-failure.png" 2>/dev/null || true
    exit 1
}

# A prefix of its own, made fresh: Wine names the profile folder after $USER when it makes it.
export USER=José LOGNAME=José WINEPREFIX="$work/prefix"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 200); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.1; done
grep -q . "$work/display" || fail "Xvfb did not say which display it serves within 20 s"
DISPLAY=":$(head -1 "$work/display")"
export DISPLAY
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb on $DISPLAY took no client within 10 s"
bash "$(dirname "$0")/prepare_wine_prefix.sh" "$wine" >/dev/null 2>&1 ||
    fail "the Wine prefix could not be made"
home="$WINEPREFIX/drive_c/users/José"
[[ -d "$home" ]] || fail "Wine made no profile folder for José: $(ls "$WINEPREFIX/drive_c/users")"
folder="$home/用户配置"
mkdir -p "$folder"

# The file dialogs open in the working folder.
(cd "$folder" && exec env QUORVEX_SIMULATED_MOUSE=macro "$wine" "$exe") >"$work/editor.log" 2>&1 &
pids+=($!)
window=""
for _ in $(seq 450); do  # up to 90 s: a loaded machine starts Wine slowly
    window=$(xdotool search --onlyvisible --name '^Gaming Mouse v1\.0$' 2>/dev/null | head -1 || true)
    [[ -n "$window" ]] && xdotool getwindowgeometry "$window" | grep -q "800x600" && break
    sleep 0.2
done
[[ -n "$window" ]] || fail "no window captioned \"Gaming Mouse v1.0\" appeared"
read -r wx wy < <(xdotool getwindowgeometry "$window" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
sleep 3  # the simulated mouse is found at the first poll
click() { xdotool mousemove "$((wx + $1))" "$((wy + $2))" click 1; }

# A visible window other than the main one: the file dialog.
dialog() {
    for _ in $(seq 100); do
        local w
        for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
            [[ "$w" != "$window" ]] && xdotool getwindowname "$w" | grep -qv '^$' &&
                xdotool getwindowgeometry "$w" | grep -qv "Geometry: 1x1" && { echo "$w"; return; }
        done
        sleep 0.2
    done
}
choose() {  # type a file name into the dialog that $1 opens and accept it
    click "$1" "$2"
    local d
    d=$(dialog)
    [[ -n "$d" ]] || fail "no file dialog opened"
    xdotool windowactivate --sync "$d" 2>/dev/null || xdotool windowfocus --sync "$d"
    sleep 0.5
    xdotool type --delay 50 "$3"
    xdotool key Return
    for _ in $(seq 50); do xdotool getwindowname "$d" >/dev/null 2>&1 || return 0; sleep 0.2; done
    fail "the file dialog stayed open"
}

click 560 502  # Macro Page
sleep 1
choose 638 309 "macros"  # Export All, under a name without its extension
for _ in $(seq 50); do [[ -s "$folder/macros.bin" ]] && break; sleep 0.2; done
[[ $(stat -c %s "$folder/macros.bin" 2>/dev/null) == 33792 ]] ||
    fail "Export All wrote no macros.bin of 33792 bytes in 用户配置: $(ls -la "$folder")"
choose 638 361 "macros.bin"  # Import All
sleep 1
import -window root -crop "800x600+$wx+$wy" "$artifacts/windows-macro-page-chinese-folder.png"

click 43 175  # Apply: the first write after a read keeps a backup
backups="$home/AppData/Local/Quorvex/backups"
for _ in $(seq 100); do compgen -G "$backups/*-macro.bin" >/dev/null && break; sleep 0.2; done
compgen -G "$backups/*-macro.bin" >/dev/null || fail "no backup in $backups"
backup=$(compgen -G "$backups/*-macro.bin" | head -1)
[[ $(stat -c %s "$backup") == 34048 ]] || fail "the backup is not a whole profile: $backup"
cmp -s -i 256:0 -n 33792 "$backup" "$folder/macros.bin" ||
    fail "the backup's macros are not the ones exported"
echo "PASSED: export and import in 用户配置 for José, backup in $backups; screenshot in $artifacts"
