#!/usr/bin/env bash
# The Windows program under Wine for an account named "José", started in a folder with a
# Chinese name: Export All and Import All through the system's file dialogs in that folder, the
# Macro Page after the import, the question before a name typed without its extension replaces
# a file, and Apply making the backup in the account's own data folder. Given the folders of the
# test hid.dll and setupapi.dll and of Wine's own, the mouse is the one behind the real SetupAPI
# and HID path.
#   file_names_under_wine.sh WINE EXE ARTIFACT_DIR [TEST_DLL_DIR WINE_DLL_DIR]
# The screenshot is kept in ARTIFACT_DIR. Exit 77 (skipped) without Xvfb or xdotool.
set -euo pipefail
wine=$1 exe=$2 artifacts=$3 test_dlls=${4:-} wine_dlls=${5:-}
# shellcheck source=wine_test_session.sh
source "$(dirname "$0")/wine_test_session.sh"
require_tools Xvfb xdotool import convert
begin_wine_test
fail() {
    echo "FAILED: $*" >&2
    [[ -n "${DISPLAY:-}" ]] && import -window root "$artifacts/windows-file-names-failure.png" 2>/dev/null || true
    exit 1
}

# A prefix of its own, made fresh: Wine names the profile folder after $USER when it makes it.
# An empty home keeps the prefix's Documents a folder of its own (Wine links it to the home's).
mkdir -p "$work/home"
export USER=José LOGNAME=José WINEPREFIX="$work/prefix" HOME="$work/home"

start_virtual_display
bash "$(dirname "$0")/prepare_wine_prefix.sh" "$wine" >/dev/null 2>&1 ||
    fail "the Wine prefix could not be made"
home="$WINEPREFIX/drive_c/users/José"
[[ -d "$home" ]] || fail "Wine made no profile folder for José: $(ls "$WINEPREFIX/drive_c/users")"
# The first file dialog opens in Documents, which holds only this folder; the next one opens
# where the last one was left.
folder="$home/Documents/用户配置"
mkdir -p "$folder"

[[ -z "$test_dlls" ]] || use_test_hid_dlls "$test_dlls" "$wine_dlls"

(cd "$folder" && exec "${editor_env[@]}" "$wine" "$exe") >"$work/editor.log" 2>&1 &
pids+=($!)
wait_for_editor_window
click() { xdotool mousemove "$((wx + $1))" "$((wy + $2))" click 1; }
# The Macro Page's button at the bottom is red while the page is shown; it opens only once the
# simulated mouse has been read.
macro_page() {
    local r g b
    read -r r g b < <(mean_colour 60x20 530 492)
    ((r > 120 && g < 90 && b < 90))
}
[[ -z "$test_dlls" ]] || wait_for_hid_read
for _ in $(seq 60); do
    sleep 1
    xdotool key --window "$window" Return 2>/dev/null || true  # "no mouse" if it came too early
    click 560 502
    sleep 0.5
    macro_page && break
done
macro_page || fail "the Macro Page did not open"

# The file dialog: a visible window of its own size. Prints "window x y".
dialog() {
    local w g
    for _ in $(seq 100); do
        for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
            [[ "$w" == "$window" ]] && continue
            g=$(xdotool getwindowgeometry "$w" 2>/dev/null) || continue
            read -r x y width < <(sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p;s/.*Geometry: \([0-9]*\)x.*/\1/p' <<<"$g" | tr '\n' ' '; echo) || continue
            ((width > 400)) && { echo "$w $x $y"; return; }
        done
        sleep 0.2
    done
}
choose() {  # type a file name into the field of the dialog that a click at $1 $2 opens,
            # after entering the folder listed first when $4 is "enter"; left open when $4 is
            # "asked" (the dialog asks something first)
    click "$1" "$2"
    read -r file_dialog x y < <(dialog) || fail "no file dialog opened"
    sleep 0.5
    if [[ "${4:-}" == enter ]]; then
        xdotool mousemove "$((x + 150))" "$((y + 43))" click --repeat 2 --delay 80 1
        sleep 0.5
    fi
    # Its "File name" field, under the list of the folder's files.
    xdotool mousemove "$((x + 372))" "$((y + 303))" click 1
    sleep 0.3
    xdotool type --delay 50 "$3"
    xdotool key Return
    [[ "${4:-}" == asked ]] && return
    until_true 10 gone "$file_dialog" || fail "the file dialog stayed open"
}
gone() { ! xdotool getwindowname "$1" >/dev/null 2>&1; }

choose 638 307 "macros" enter  # Export All, under a name without its extension
for _ in $(seq 50); do [[ -s "$folder/macros.bin" ]] && break; sleep 0.2; done
[[ $(stat -c %s "$folder/macros.bin" 2>/dev/null) == 33792 ]] ||
    fail "Export All wrote no macros.bin of 33792 bytes in 用户配置: $(ls -la "$folder")"
# Again under that name: with the extension it takes, the name is asked about before the file
# is replaced, and No leaves the file alone.
cp -p "$folder/macros.bin" "$work/exported.bin"
exported_at=$(stat -c %y "$folder/macros.bin")
choose 638 307 "macros" asked
question() {  # a window of its own over the file dialog, smaller than it, whatever its title
    local w g qx qy qw
    for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        [[ "$w" == "$window" || "$w" == "$file_dialog" ]] && continue
        g=$(xdotool getwindowgeometry "$w" 2>/dev/null) || continue
        read -r qx qy qw < <(sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p;s/.*Geometry: \([0-9]*\)x.*/\1/p' <<<"$g" | tr '\n' ' '; echo) || continue
        ((qx > x && qy > y && qw > 100 && qw < 400)) && { echo "$w"; return 0; }
    done
    return 1
}
until_true 10 question >/dev/null || fail "no question before replacing macros.bin"
asked=$(question)
xdotool windowfocus --sync "$asked" 2>/dev/null || true  # no window manager hands it the keys
xdotool key n
until_true 10 gone "$asked" || fail "No did not close the question"
# No goes back to the file dialog, for another name; Cancel leaves it.
xdotool key Escape
until_true 10 gone "$file_dialog" || fail "Cancel did not close the file dialog"
cmp -s "$work/exported.bin" "$folder/macros.bin" && [[ $(stat -c %y "$folder/macros.bin") == "$exported_at" ]] ||
    fail "macros.bin was written although the answer was No"
choose 638 359 "macros.bin"  # Import All
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
echo "PASSED: export, the replace question and import in 用户配置 for José, backup in $backups${sim:+, the mouse through the test HID DLLs}; screenshot in $artifacts"
