#!/usr/bin/env bash
# Start-up of the editor under Xvfb: from process start to the first painted main window, and
# the resident size after start-up; the same start-up for a bare Qt window as the floor.
#   bench/startup.sh [runs]      (default 7; needs a build: scripts/test)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${QUORVEX_BUILD_DIR:-$root/build}"
runs="${1:-7}"

display=":$((600 + $$ % 200))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY="$display" XDG_RUNTIME_DIR="$work" QUORVEX_HIDRAW_DIR="$work"
sleep 1

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
