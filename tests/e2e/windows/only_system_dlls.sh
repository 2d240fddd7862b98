#!/usr/bin/env bash
# The Windows program is one file: it may import nothing but the DLLs every Windows has.
#   only_system_dlls.sh OBJDUMP EXE
set -euo pipefail
objdump=$1 exe=$2
allowed="advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msimg32.dll msvcrt.dll shell32.dll user32.dll"
status=0
while read -r dll; do
    lower=$(tr '[:upper:]' '[:lower:]' <<<"$dll")
    if [[ " $allowed " != *" $lower "* ]]; then
        echo "FAILED: $exe needs $dll, which Windows does not bring"
        status=1
    fi
done < <("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
((status == 0)) && echo "PASSED: only Windows' own DLLs"
exit "$status"
