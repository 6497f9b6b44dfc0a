#!/usr/bin/env bash
# Runs the demo: copies examples/demo to a temporary folder, maps it as drive D, installs the
# built client double as D:\VORD\VORDDll.dll and runs velmarin-host on the demo script, printing
# what the user would see and then what the VORD client was asked. At the end velmarin-inspect
# reports what the plug-in reads from the assembly drawing GB-1000.dwg as it ships (before the
# demo stamped it) and draws it into GB-1000-inspect.svg beside BIN_DIR.
#
# Usage: examples/run-demo.sh [BIN_DIR]   (BIN_DIR holds velmarin-host, velmarin-inspect,
#                                          Velmarin.arx, VORDDll.dll; default: build/demo/bin)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$top/build/demo/bin}" && pwd)
for file in velmarin-host velmarin-inspect Velmarin.arx VORDDll.dll; do
    [[ -e "$bin/$file" ]] || { echo "run-demo.sh: $bin/$file is missing; build it first" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/velmarin-demo-XXXXXX")
shipped=$(mktemp -d "${TMPDIR:-/tmp}/velmarin-demo-XXXXXX")
trap 'rm -rf "$work" "$shipped"' EXIT
cp -R "$top/examples/demo/." "$work/"
cp "$bin/VORDDll.dll" "$work/VORD/VORDDll.dll"
# The demo as it ships, for the inspection at the end: the run stamps GB-1000.dwg and consumes its
# print file.
cp -R "$top/examples/demo/." "$shipped/"
cp "$bin/VORDDll.dll" "$shipped/VORD/VORDDll.dll"

echo "=== What the user sees (drive D: is $work)"
status=0
"$bin/velmarin-host" --drive "D=$work" --registry "$work/registry.ini" \
    --script "$work/demo.txt" || status=$?

show() {  # a GBK text file of the demo, converted for the terminal
    echo
    echo "=== $1"
    if [[ -f "$work/$2" ]]; then iconv -f GBK -t UTF-8 "$work/$2" 2>/dev/null || cat "$work/$2"
    else echo "(not written)"; fi
}
echo
echo "=== Texts stamped into GB-1000.dwg from its print file (layer ASDK_VORD)"
grep -o '"text": *"[^"]*", "position": \[[^]]*\][^}]*"layer": "ASDK_VORD"' "$work/GB-1000-stamped.dwg" 2>/dev/null \
    || grep -A3 ASDK_VORD "$work/GB-1000-stamped.dwg" 2>/dev/null | head -20 || true
show "BOM detail file D:\\drawings\\GB-1000.bmf" drawings/GB-1000.bmf
show "Tree file of the batch, D:\\VORD\\temp\\sldTree.ini" VORD/temp/sldTree.ini

echo
echo "=== What the VORD client was asked (D:\\VORD\\client-calls.log; texts are GBK)"
if command -v iconv >/dev/null 2>&1; then
    iconv -f GBK -t UTF-8 "$work/VORD/client-calls.log" || cat "$work/VORD/client-calls.log"
else
    cat "$work/VORD/client-calls.log"
fi

picture="$(dirname "$bin")/GB-1000-inspect.svg"
echo
echo "=== What the plug-in reads from D:\\drawings\\GB-1000.dwg as it ships (velmarin-inspect)"
"$bin/velmarin-inspect" --drive "D=$shipped" --registry "$shipped/registry.ini" \
    --svg "$picture" 'D:\drawings\GB-1000.dwg' || status=$?
echo "(picture: $picture)"
exit "$status"
