#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what landed there with the desktop's own
# validators.   check_install.sh BUILD_DIR PREFIX APP_ID LIBDIR
set -euo pipefail
build="$1" prefix="$2" id="$3" libdir="$4"
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "packaging: $*" >&2; exit 1; }
for f in bin/quorvex-editor bin/quorvex-ctl \
         "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
         "share/icons/hicolor/scalable/apps/$id.svg" "share/icons/hicolor/64x64/apps/$id.png" \
         lib/udev/rules.d/70-quorvex-mouse.rules "$libdir/quorvex/quorvex-desktop-settings.so" \
         share/man/man1/quorvex-editor.1.gz share/man/man1/quorvex-ctl.1.gz \
         share/bash-completion/completions/quorvex-ctl \
         share/doc/quorvex-editor/copyright share/doc/quorvex-editor/changelog.Debian.gz; do
    [[ -s "$prefix/$f" ]] || fail "$f was not installed"
done
[[ -x "$prefix/bin/quorvex-editor" && -x "$prefix/bin/quorvex-ctl" ]] || fail "programs not executable"

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"

rule=$(grep -v '^#' "$prefix/lib/udev/rules.d/70-quorvex-mouse.rules")
for part in 'SUBSYSTEM=="hidraw"' 'ATTRS{idVendor}=="1209"' 'ATTRS{idProduct}=="5158"' 'TAG+="uaccess"'; do
    grep -qF "$part" <<<"$rule" || fail "the udev rule lacks $part"
done
if grep -q 'MODE' <<<"$rule"; then fail "the udev rule sets a MODE"; fi
# The metainfo's release is the programs' version.
version=$("$prefix/bin/quorvex-ctl" --version | cut -d' ' -f2)
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo's release is not the version $version"
# The icon the desktop file names is the one installed.
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "the desktop file names another icon"
echo "packaging: installed and valid"
