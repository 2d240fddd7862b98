#!/usr/bin/env bash
# The Windows program through its real SetupAPI and HID path, under Wine on a virtual display:
# test builds of hid.dll and setupapi.dll over the simulated mouse (beside an unrelated keyboard
# and a device that refuses to open) are loaded for quorvex-editor.exe alone. The editor, without
# QUORVEX_SIMULATED_MOUSE, finds and reads the mouse, writes a changed button with Apply,
# restores the factory contents with Reset, shows the no-device page when the mouse is unplugged
# and reads it again when it comes back. The feature reports are checked in the protocol's
# order, the mouse's memory byte by byte.
#   hid_path_under_wine.sh WINE EXE TEST_DLL_DIR WINE_DLL_DIR BUILTIN_IMAGE_HEX ARTIFACT_DIR
# Screenshots are kept in ARTIFACT_DIR. Exit 77 (skipped) without Xvfb or xdotool.
set -euo pipefail
wine=$1 exe=$2 test_dlls=$3 wine_dlls=$4 image_hex=$5 artifacts=$6
# shellcheck source=wine_test_session.sh
source "$(dirname "$0")/wine_test_session.sh"
require_tools Xvfb xdotool convert import compare od
begin_wine_test

fail() {
    echo "FAILED: $*" >&2
    [[ -n "${DISPLAY:-}" ]] && import -window root "$artifacts/windows-hid-failure.png" 2>/dev/null || true
    [[ -f "${sim:-}/traffic.log" ]] && cp "$sim/traffic.log" "$artifacts/windows-hid-traffic.log"
    grep -s "test hid.dll" "$work/editor.log" >&2 || true  # what the test DLLs had to say
    exit 1
}

start_virtual_display
bash "$(dirname "$0")/prepare_wine_prefix.sh" "$wine" >/dev/null 2>&1 ||
    fail "the Wine prefix $WINEPREFIX could not be made"

# The simulated machine: the mouse, a keyboard, and a device that nobody may open.
use_test_hid_dlls "$test_dlls" "$wine_dlls" "--extra-device 046d:c31c --locked-device 04f3:0c4b"

# ---- The traffic, one line a command: command, p2 to p5, then how many data reports went
# ---- to the mouse (s) and came from it (g) before the next command.
shape_of() {  # lines of traffic.log from $1 on
    tail -n +"$1" "$sim/traffic.log" | awk '
        function out() { if (cmd != "") print cmd (s ? " s" s : "") (g ? " g" g : "") (f ? " failed" f : "") }
        $NF == "fail" { f++ }
        $1 == "S" && $2 == "40" { out(); cmd = $3 " " $4 " " $5 " " $6 " " $7; s = g = f = 0; next }
        $1 == "S" { s++ }
        $1 == "G" { g++ }
        END { out() }'
}
lines() { wc -l <"$sim/traffic.log"; }
# Whether the traffic from line $1 on ends in $2, a whole line of its shape (the reports after
# a command may be logged a moment after the command).
ends_in() { [[ $(shape_of "$1" | tail -1) == "$2" ]]; }
hex2() { printf '%02X' "$1"; }
# Detection and the full read of a macro mouse: the probes of the open, identification, then
# the image, the two section copies and the names, then the 32 macros.
expected_read() {
    echo "04 00 11 00 01 s1"  # the command probe, then the data probe
    echo "04 90 E7 00 00 g1"
    echo "04 90 E4 00 00 g1"
    echo "16 00 00 00 00 g1"
    echo "04 00 08 00 00 g1"
    echo "0E 60 57 00 06 g1"
    echo "0E 60 00 01 00 g37"
    echo "0E 70 00 00 05 g1"
    echo "0E 70 05 00 04 g1"
    echo "0E 64 00 04 00 g147"
    # The pages show now; the macros follow behind them.
    for i in $(seq 0 31); do echo "0E $(hex2 $((0x80 + 4 * i))) 00 04 00 g147"; done
}
# Reset: all ten sectors erased, then everything written in 256-byte blocks.
expected_reset_writes() {
    for s in 60 70 80 90 A0 B0 C0 D0 E0 F0; do echo "11 $s 00 00 00"; done
    echo "12 60 00 01 00 s37"
    for k in 64 65 66 67; do echo "12 $k 00 01 00 s37"; done
    for i in $(seq 0 31); do
        for k in 0 1 2 3; do echo "12 $(hex2 $((0x80 + 4 * i + k))) 00 01 00 s37"; done
    done
    echo "12 70 00 00 05 s1"
    echo "12 70 05 00 04 s1"
}
# Compares what went out with what should have; both are kept when they differ.
same_traffic() {  # name expected actual
    if ! diff -u "$2" "$3" >"$work/$1.diff"; then
        cp "$2" "$artifacts/windows-hid-$1-expected.txt"
        cp "$3" "$artifacts/windows-hid-$1-sent.txt"
        head -20 "$work/$1.diff" >&2
        return 1
    fi
}

# ---- The mouse's memory, dumped by the simulated machine.
dump() {  # name: the 64 KiB into $sim/name.bin
    control "dump C:\\quorvex-hid\\$1.bin"
    [[ $(stat -c %s "$sim/$1.bin") == 65536 ]] || fail "no memory dump $1"
}
bytes() { od -An -tx1 -v -j "$(($2))" -N "$3" "$sim/$1.bin" | tr -s ' \n' ' ' | sed 's/^ //;s/ $//'; }
# The check byte of a section: the sum of the bytes before it, XOR 0x5A.
check_byte_ok() {  # dump address length
    local sum stored
    read -r sum stored < <(od -An -tu1 -v -j "$(($2))" -N "$3" "$sim/$1.bin" |
        awk -v n="$3" '{ for (i = 1; i <= NF; i++) v[c++] = $i }
            END { for (i = 0; i < n - 1; i++) s += v[i]; print s % 256, v[n - 1] }')
    (((sum ^ 0x5A) == stored))
}
all_zero() { [[ -z $(od -An -tx1 -v -j "$(($2))" -N "$3" "$sim/$1.bin" | tr -d ' 0\n') ]]; }
builtin_image=$(sed 's/#.*//' "$image_hex" | tr -s ' \n' ' ' | tr 'A-F' 'a-f' | sed 's/^ //;s/ $//')
[[ $(wc -w <<<"$builtin_image") == 256 ]] || fail "cannot read the built-in image $image_hex"

# ---- The editor, with nothing between it and the test DLLs but Wine.
"${editor_env[@]}" "$wine" "$exe" >"$work/editor.log" 2>&1 &
editor=$!
pids+=("$editor")
wait_for_editor_window

crop() { import -window root -crop "$3x$4+$((wx + $1))+$((wy + $2))" "$work/$5.png"; }
differs() { ! compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>/dev/null; }
# "No Device Found" in white where the device-state labels sit.
no_device_page() {
    crop 94 254 80 36 state
    local white
    white=$(convert "$work/state.png" -fx '(r>0.78&&g>0.78&&b>0.78)?1:0' -format '%[fx:maxima.r]' info:)
    [[ $white == 1 ]] && ! mouse_keys_page
}
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
point() { xdotool mousemove --window "$window" "$1" "$2"; }
# Does "$2" until the condition after it holds, trying again after $1 seconds without it. The
# window swallows input while it is locked for a transfer, up to the last message-queue run of
# the transfer. An action that must not happen twice gets time enough to show.
act_until() {
    local patience=$1 action=$2
    shift 2
    for _ in 1 2 3 4; do
        eval "$action"
        until_true "$patience" "$@" && return 0
    done
    return 1
}
grown() { (($(lines) >= $1)); }  # traffic beyond line $1 - 1: an operation has begun
shot() { import -window root -crop "800x600+$wx+$wy" "$artifacts/windows-hid-$1.png"; }

# ---- Found and read.
wait_for_hid_read
until_true 10 ends_in 1 "0E FC 00 04 00 g147" || fail "the read did not finish"
shape_of 1 >"$work/read.txt"
expected_read >"$work/read-expected.txt"
same_traffic read "$work/read-expected.txt" "$work/read.txt" ||
    fail "the detection and read did not send what the protocol orders"
until_true 10 mouse_keys_page || fail "the Mouse Keys Page is not shown after the read"
shot mouse-keys
dump read
[[ $(bytes read 0x6000 256) == "$builtin_image" ]] || fail "the mouse did not hold the factory image"

# ---- Button 5 becomes "Volume +" through its menus, then Apply writes it. The factory contents
# ---- make profile 2 the current one, so its page (Alternate Key) is the one shown and edited.
crop 180 305 97 30 key5-before
crop 229 369 168 24 media-before
crop 398 466 141 24 volume-before
# Key5 opens Pnl_Main at the label; its Key_Media opens Pnl_Media beside it.
act_until 3 'click 228 320' eval 'crop 229 369 168 24 media-now; differs media-before media-now' ||
    fail "a click on button 5 did not open its function menu"
act_until 3 'point 300 340; point 313 381' \
    eval 'crop 398 466 141 24 volume-now; differs volume-before volume-now' ||
    fail "pointing at Media Fn did not open the media menu"
click 468 478  # Key_VolumePlus
until_true 10 eval 'crop 180 305 97 30 key5-now; differs key5-before key5-now' ||
    fail "button 5 did not take the new function"
shot volume-plus

mark=$(($(lines) + 1))
act_until 15 'click 43 175' grown "$mark" || fail "Apply sent nothing"  # Btn_Apply
until_true 60 at_least reloads 1 || fail "Apply did not reload the mouse"
until_true 10 ends_in "$mark" "19 00 00 00 00" || fail "Apply did not end in a reload"
shape_of "$mark" >"$work/apply.txt"
# Only the sectors that changed: the image's and the section copies'.
[[ $(grep '^11 ' "$work/apply.txt" | tr '\n' ,) == "11 60 00 00 00,11 70 00 00 00," ]] ||
    fail "Apply erased $(grep '^11 ' "$work/apply.txt" | tr '\n' ,)"
grep -qx "12 60 00 01 00 s37" "$work/apply.txt" || fail "Apply did not write the image"
! grep -q failed "$work/apply.txt" || fail "reports of Apply failed"
dump apply
[[ $(bytes apply 0x60AE 4) == "03 00 e9 00" ]] ||
    fail "button 5 of profile 2 holds $(bytes apply 0x60AE 4), not Volume + (03 00 e9 00)"
check_byte_ok apply 0x606E 145 || fail "the key codes' check byte does not fit them"
# Nothing else moved: the key code, its check byte, nothing more in 64 KiB.
changed=$(cmp -l "$sim/read.bin" "$sim/apply.bin" | awk '{ printf "%X ", $1 - 1 }' || true)
for at in $changed; do
    case $at in 60AE | 60AF | 60B0 | 60B1 | 60FE) ;; *) fail "Apply changed byte 0x$at too (changed: $changed)" ;; esac
done

# ---- Reset writes the factory contents, everything, erased first.
mark=$(($(lines) + 1))
act_until 15 'click 43 215' grown "$mark" || fail "Reset sent nothing"  # Btn_Reset
until_true 90 at_least reloads 2 || fail "Reset did not reload the mouse"
until_true 10 ends_in "$mark" "19 00 00 00 00" || fail "Reset did not end in a reload"
shape_of "$mark" >"$work/reset.txt"
{ expected_reset_writes; echo "19 00 00 00 00"; } >"$work/reset-expected.txt"
# What was written is read back before the reload; nothing else comes between.
grep -v '^0E ' "$work/reset.txt" >"$work/reset-writes.txt" || true
same_traffic reset "$work/reset-expected.txt" "$work/reset-writes.txt" ||
    fail "Reset did not send what the protocol orders"
first_check=$(grep -n '^0E ' "$work/reset.txt" | head -1 | cut -d: -f1)
last_write=$(grep -n '^12 ' "$work/reset.txt" | tail -1 | cut -d: -f1)
[[ -z "$first_check" || "$first_check" -gt "$last_write" ]] || fail "Reset read back before it had written"
dump reset
[[ $(bytes reset 0x6000 256) == "$builtin_image" ]] || fail "Reset did not put the built-in image into the mouse"
all_zero reset 0x6400 1024 || fail "Reset left macro names"
all_zero reset 0x8000 32768 || fail "Reset left macros"
[[ $(bytes reset 0x7000 9) == "$(bytes read 0x7000 9)" ]] || fail "Reset changed the section copies"

# ---- Unplugged: the no-device page at the next poll. Plugged again: read again.
until_true 5 mouse_keys_page || fail "the Mouse Keys Page is gone after Reset"
control unplug
until_true 30 no_device_page || fail "no no-device page after the mouse was unplugged"
shot no-device
mark=$(($(lines) + 1))
control plug
until_true 60 ends_in "$mark" "0E FC 00 04 00 g147" || fail "the mouse was not read again when it came back"
shape_of "$mark" >"$work/reread.txt"
same_traffic reread "$work/read-expected.txt" "$work/reread.txt" ||
    fail "the read after plugging in again did not send what the protocol orders"
until_true 10 mouse_keys_page || fail "the Mouse Keys Page did not come back with the mouse"

[[ $(counter reports_to_others) == 0 ]] ||
    fail "$(counter reports_to_others) feature reports went to the other HID devices"
act_until 5 'click 43 255' eval '! kill -0 "$editor" 2>/dev/null' || fail "Exit did not end the editor"
echo "PASSED: found, read ($(wc -l <"$work/read.txt") commands in order), button 5 written with" \
    "Apply, Reset's $(wc -l <"$work/reset.txt") commands, unplug and replug; screenshots in $artifacts"
