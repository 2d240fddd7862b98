#!/usr/bin/env bash
# Start-up of the editor under Xvfb: from process start to the first painted main window, and
# the resident size after start-up; the same start-up for a bare Qt window as the floor.
#   bench/startup.sh [runs]      (default 7; needs a build: scripts/test)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${QUORVEX_BUILD_DIR:-$root/build}"
runs="${1:-7}"

# A display of our own, whichever number is free, once it takes a client (and no reset as the
# probe leaves: a reset can refuse the next client for a moment).
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 200); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.1; done
grep -q . "$work/display" || { echo "startup.sh: Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(head -1 "$work/display")"
export DISPLAY XDG_RUNTIME_DIR="$work" QUORVEX_HIDRAW_DIR="$work"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null 2>&1 ||
    { echo "startup.sh: Xvfb on $DISPLAY took no client" >&2; exit 1; }

# Prints "<ms to first paint> <resident kB>" for one run of a program.
measure() {
    local file="$work/paint" start pid rss=0
    rm -f "$file"
    start=$(date +%s%N)
    QUORVEX_FIRST_PAINT_FILE="$file" "$1" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 200); do [[ -s "$file" ]] && break; sleep 0.02; done
    sleep 1  # let start-up settle before reading the resident size
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    echo "$(( ($(cat "$file") - start) / 1000000 )) $rss"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# The two programs take turns, so that a busy moment of the machine falls on both alike.
bare="$build/bench/bare_qt_window" editor="$build/src/quorvex-editor"
for _ in $(seq "$runs"); do
    echo "bare $(measure "$bare")" >>"$work/results"
    echo "editor $(measure "$editor")" >>"$work/results"
done
declare -A ms kb
for program in bare editor; do
    ms[$program]=$(awk -v p="$program" '$1 == p {print $2}' "$work/results" | median)
    kb[$program]=$(awk -v p="$program" '$1 == p {print $3}' "$work/results" | median)
    name=$([[ $program == bare ]] && basename "$bare" || basename "$editor")
    printf '%-20s first paint %4d ms (median of %d), resident %6.1f MB\n' \
        "$name" "${ms[$program]}" "$runs" "$(awk -v kb="${kb[$program]}" 'BEGIN {print kb / 1024}')"
done
awk -v a="${ms[editor]}" -v b="${ms[bare]}" -v c="${kb[editor]}" -v d="${kb[bare]}" \
    'BEGIN {printf "editor / bare: first paint %.2fx, resident %.2fx\n", a / b, c / d}'
