#!/usr/bin/env bash
# Runs a Windows test program that opens windows, in a Wine prefix of its own whose desktop
# draws nowhere: Wine's null display driver keeps windows, focus and input without an X server.
#   windowed_under_wine.sh WINE PROGRAM [ARGUMENTS...]
set -euo pipefail
wine=$1
shift
server="$(dirname "$wine")/wineserver"
[[ -x "$server" ]] || server=wineserver
trap '"$server" -k 2>/dev/null || true' EXIT
unset DISPLAY WAYLAND_DISPLAY
bash "$(dirname "$0")/../../e2e/windows/prepare_wine_prefix.sh" "$wine"
# The driver is chosen when the prefix's desktop starts: set it, then start afresh.
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
"$server" -k
"$server" -w
"$wine" "$@"
