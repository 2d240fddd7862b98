#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests run in (WINEPREFIX), with a server that stays until
# `wineserver -k`: tests that start side by side then never meet a server on its way out, and
# neither the server nor Wine's own services hold on to a test's output.
#   prepare_wine_prefix.sh WINE
set -euo pipefail
wine=$1
server="$(dirname "$wine")/wineserver"
[[ -x "$server" ]] || server=wineserver
mkdir -p "${WINEPREFIX:?the prefix is named by WINEPREFIX}"
"$server" -p </dev/null >/dev/null 2>&1
# Without a display, windows come from Wine's null driver (nothing is shown, but windows, their
# messages and drawing work). The desktop process picks its driver when it starts, so the
# server starts again once the setting is in.
if [[ -z "${DISPLAY:-}" ]]; then
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
    "$server" -k || true
    "$server" -w
    "$server" -p </dev/null >/dev/null 2>&1
fi
"$wine" wineboot --init </dev/null >/dev/null 2>&1
