#!/usr/bin/env bash
# Runs the demo twice, with the Linux build and with the 32-bit Windows build under 32-bit Wine,
# and compares byte for byte what each printed (standard output, standard error, exit status;
# the Windows program ends its lines with CR LF, as Windows text output does, so that is taken as
# LF) and every file each left on its drive D: (tree file, BOM detail files, VORD.ini, the
# client's call log, the stamped and exported drawings). Under Wine drive D: is a link in the prefix's
# dosdevices folder, as a drive defined by the program would reach no file there.
#
# Usage: scripts/compare-windows-demo.sh LINUX_BIN WINDOWS_BIN
#   (each holds velmarin-host[.exe], Velmarin.arx and VORDDll.dll; WINEPREFIX names the prefix)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
linux_bin=$(cd "$1" && pwd)
windows_bin=$(cd "$2" && pwd)
prefix=${WINEPREFIX:?WINEPREFIX names the Wine prefix to run in}

work=$(mktemp -d "${TMPDIR:-/tmp}/velmarin-demo-compare-XXXXXX")
drive="$prefix/dosdevices/d:"
saved_drive=""
if [[ -L "$drive" ]]; then saved_drive=$(readlink "$drive"); fi
restore() {
    rm -f "$drive"
    if [[ -n "$saved_drive" ]]; then ln -s "$saved_drive" "$drive"; fi
    rm -rf "$work"
}
trap restore EXIT

for side in linux windows; do
    mkdir -p "$work/$side"
    cp -R "$top/examples/demo/." "$work/$side/"
done
cp "$linux_bin/VORDDll.dll" "$work/linux/VORD/VORDDll.dll"
cp "$windows_bin/VORDDll.dll" "$work/windows/VORD/VORDDll.dll"

status=0
"$linux_bin/velmarin-host" --drive "D=$work/linux" --registry "$work/linux/registry.ini" \
    --script "$work/linux/demo.txt" >"$work/linux.out" 2>"$work/linux.err" || status=$?
echo "$status" >"$work/linux.status"

mkdir -p "$prefix/dosdevices"
rm -f "$drive"
ln -s "$work/windows" "$drive"
status=0
WINE=${WINE:-/usr/lib/wine/wine} "$top/cmake/wine-run.sh" "$windows_bin/velmarin-host.exe" \
    --registry 'D:\registry.ini' --script 'D:\demo.txt' \
    >"$work/windows.out" 2>"$work/windows.err" </dev/null || status=$?
echo "$status" >"$work/windows.status"
for part in out err; do
    sed 's/\r$//' "$work/windows.$part" >"$work/windows.$part.lf"
    mv "$work/windows.$part.lf" "$work/windows.$part"
done

same=true
for part in out err status; do
    if ! cmp -s "$work/linux.$part" "$work/windows.$part"; then
        echo "The demo's standard $part differs between Linux (<) and Windows (>):"
        diff "$work/linux.$part" "$work/windows.$part" | head -n 40 || true
        same=false
    fi
done
# The client library itself is the one file that is each platform's own.
if ! diff -r --exclude=VORDDll.dll "$work/linux" "$work/windows" >"$work/files.diff"; then
    echo "The files the demo left differ between Linux and Windows:"
    head -n 40 "$work/files.diff"
    same=false
fi
files=$(cd "$work/windows" && find . -type f ! -name VORDDll.dll | wc -l)
if $same; then
    echo "Demo under Wine: output, exit status $(cat "$work/windows.status") and $files files" \
         "byte-identical to Linux"
else
    exit 1
fi
