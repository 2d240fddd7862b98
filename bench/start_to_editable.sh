#!/usr/bin/env bash
# How soon the editor is usable with a mouse that answers as a real one does (1 ms a report):
# from the editor's start, and from a plug, to the Mouse Keys Page editable with the mouse's
# labels, and to the Macro Page usable. Runs under Xvfb through quorvex-mouse-sim (needs
# /dev/fuse), for both device kinds.
#   bench/start_to_editable.sh [runs]      (default 3; needs a build: scripts/test)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${QUORVEX_BUILD_DIR:-$root/build}"
runs="${1:-3}"
latency="${QUORVEX_REPORT_LATENCY_US:-1000}"
editor="$build/src/quorvex-editor" sim="$build/tools/mouse-sim/quorvex-mouse-sim"
[[ -x $editor && -x $sim ]] || { echo "start_to_editable.sh: build first (scripts/test)" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    for m in "$work"/mnt-*; do [[ -d $m ]] && { fusermount3 -u "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true; }; done
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 200); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.1; done
grep -q . "$work/display" || { echo "start_to_editable.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$work/display")" XDG_RUNTIME_DIR="$work"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" HOME="$work/home"
mkdir -p "$HOME"

now() { date +%s%N; }
# Waits until the milestone file has a line for NAME; prints its time (ns), or nothing.
wait_for() {
    local name=$1 file=$2 t
    for _ in $(seq 1200); do
        t=$(awk -v n="$name" '$1 == n {print $2; exit}' "$file" 2>/dev/null || true)
        [[ -n $t ]] && { echo "$t"; return; }
        sleep 0.025
    done
}
ms() { echo $(( ($2 - $1) / 1000000 )); }

for kind in macro image; do
    mnt="$work/mnt-$kind"
    mkdir -p "$mnt"
    "$sim" "$mnt" --kind "$kind" --report-latency-us "$latency" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 200); do [[ -e $mnt/ctl ]] && break; sleep 0.05; done
    [[ -e $mnt/ctl ]] || { echo "start_to_editable.sh: the simulator did not mount" >&2; exit 1; }
    last=macros
    [[ $kind == image ]] && last=editable
    for run in $(seq "$runs"); do
        file="$work/milestones"
        rm -f "$file"
        start=$(now)
        QUORVEX_HIDRAW_DIR="$mnt" QUORVEX_MILESTONE_FILE="$file" "$editor" >/dev/null 2>&1 &
        editor_pid=$!
        editable=$(wait_for editable "$file"); ready=$(wait_for "$last" "$file")
        [[ -n $editable && -n $ready ]] || { echo "start_to_editable.sh: the $kind mouse was not read" >&2; exit 1; }
        echo "$kind start $(ms "$start" "$editable") $(ms "$start" "$ready")" >>"$work/results"
        # Unplugged long enough for a poll to notice, then plugged back.
        echo unplug >"$mnt/ctl"
        sleep 4
        rm -f "$file"
        plugged=$(now)
        echo plug >"$mnt/ctl"
        editable=$(wait_for editable "$file"); ready=$(wait_for "$last" "$file")
        [[ -n $editable && -n $ready ]] || { echo "start_to_editable.sh: the replugged $kind mouse was not read" >&2; exit 1; }
        echo "$kind plug $(ms "$plugged" "$editable") $(ms "$plugged" "$ready")" >>"$work/results"
        kill "$editor_pid"; wait "$editor_pid" 2>/dev/null || true
    done
done

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo "report latency ${latency} us, median of $runs runs (ms):"
printf '%-6s %-6s %14s %14s\n' kind from "pages editable" "macros usable"
for kind in macro image; do
    for from in start plug; do
        e=$(awk -v k="$kind" -v f="$from" '$1 == k && $2 == f {print $3}' "$work/results" | median)
        m=$(awk -v k="$kind" -v f="$from" '$1 == k && $2 == f {print $4}' "$work/results" | median)
        [[ $kind == image ]] && m="-"
        printf '%-6s %-6s %14s %14s\n' "$kind" "$from" "$e" "$m"
    done
done
