#!/usr/bin/env bash
# Checks what scripts/package made, without installing anything: lintian passes the .deb with
# no error or warning, its unpacked quorvex-ctl tells the package's version, and the zip holds
# the program, its README.txt and COPYRIGHT.txt.
#   check_packages.sh DEB [ZIP]
set -euo pipefail
deb="$1" zip="${2:-}"
fail() { echo "packages: $*" >&2; exit 1; }

# Lintian says on standard error that it runs as root; only its findings count.
findings=$(lintian "$deb" 2>/dev/null) || true
[[ -z "$findings" ]] || echo "$findings"
if grep -qE '^[EW]: ' <<<"$findings"; then fail "lintian finds errors or warnings in $deb"; fi

version=$(dpkg-deb -f "$deb" Version)
version=${version%-*}  # without the Debian revision
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
told=$("$unpacked/usr/bin/quorvex-ctl" --version)
[[ "$told" == "quorvex-ctl $version" ]] || fail "the packaged quorvex-ctl says \"$told\", not $version"

if [[ -n "$zip" ]]; then
    [[ "$(basename "$zip")" == "quorvex-editor-$version-windows-x64.zip" ]] ||
        fail "$zip is not named for version $version"
    listing=$(unzip -l "$zip")
    for file in quorvex-editor.exe README.txt COPYRIGHT.txt; do
        grep -qE "[[:space:]]quorvex-editor-$version-windows-x64/$file\$" <<<"$listing" ||
            fail "$zip lacks $file"
    done
fi
echo "packages: $(basename "$deb")${zip:+ and $(basename "$zip")} pass"
