#!/usr/bin/env bash
# Runs the demo: copies examples/demo to a temporary folder, maps it as drive D, installs the
# built client double as D:\VORD\VORDDll.dll and runs velmarin-host on the demo script, printing
# what the user would see and then what the VORD client was asked.
#
# Usage: examples/run-demo.sh [BIN_DIR]   (BIN_DIR holds velmarin-host, Velmarin.arx, VORDDll.dll;
#                                          default: build/demo/bin)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$top/build/demo/bin}" && pwd)
for file in velmarin-host Velmarin.arx VORDDll.dll; do
    [[ -e "$bin/$file" ]] || { echo "run-demo.sh: $bin/$file is missing; build it first" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/velmarin-demo-XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -R "$top/examples/demo/." "$work/"
cp "$bin/VORDDll.dll" "$work/VORD/VORDDll.dll"

echo "=== What the user sees (drive D: is $work)"
status=0
"$bin/velmarin-host" --drive "D=$work" --registry "$work/registry.ini" \
    --script "$work/demo.txt" || status=$?

echo
echo "=== What the VORD client was asked (D:\\VORD\\client-calls.log; texts are GBK)"
if command -v iconv >/dev/null 2>&1; then
    iconv -f GBK -t UTF-8 "$work/VORD/client-calls.log" || cat "$work/VORD/client-calls.log"
else
    cat "$work/VORD/client-calls.log"
fi
exit "$status"
