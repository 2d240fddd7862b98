#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests run in (WINEPREFIX) and waits until Wine has finished
# setting it up: programs started while it still does start slowly or not at all.
#   prepare_wine_prefix.sh WINE
set -euo pipefail
wine=$1
"$wine" wineboot --init
server="$(dirname "$wine")/wineserver"
[[ -x "$server" ]] || server=wineserver
"$server" -w
