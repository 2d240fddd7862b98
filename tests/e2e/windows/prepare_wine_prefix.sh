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
"$wine" wineboot --init </dev/null >/dev/null 2>&1
