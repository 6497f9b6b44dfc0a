#!/usr/bin/env bash
# Checks the Windows package as an administrator would use it: unpacks dist/velmarin-<version>-
# win32.zip, checks what it holds, and runs from the unpacked folder under 32-bit Wine the
# programs' --version, the demo's run-demo.cmd and velmarin-inspect.exe --check against the demo's
# installation; each must succeed. Wine refuses --drive, so drive D: is the unpacked demo folder
# (a link in the prefix's dosdevices), where run-demo.cmd runs in place.
#
#   scripts/check-windows-package.sh     after scripts/package-windows.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Velmarin VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
name=velmarin-$version-win32
zip=$top/dist/$name.zip
[[ -f "$zip" ]] || { echo "check-windows-package.sh: $zip is missing" >&2; exit 2; }

export WINE=${WINE:-/usr/lib/wine/wine}
export WINEPREFIX=${WINEPREFIX:-$top/build/win32/wineprefix}
drive_d=$WINEPREFIX/dosdevices/d:
saved_drive_d=$(readlink "$drive_d" 2>/dev/null || true)
work=$(mktemp -d "${TMPDIR:-/tmp}/velmarin-package-XXXXXX")
restore() {
    rm -rf "$work" "$drive_d"
    if [[ -n "$saved_drive_d" ]]; then ln -s "$saved_drive_d" "$drive_d"; fi
}
trap restore EXIT
unzip -q "$zip" -d "$work"
package=$work/$name
fail() { echo "check-windows-package.sh: $*" >&2; exit 1; }

for file in Velmarin.arx velmarin-host.exe velmarin-inspect.exe client-test-double/VORDDll.dll \
    demo/run-demo.cmd demo/demo.txt README.md README-Windows.md docs/windows.md; do
    [[ -f "$package/$file" ]] || fail "the package lacks $file"
done
[[ ! -e "$package/VORDDll.dll" ]] || fail "the client test double lies beside the module"

wine_run() { "$top/cmake/wine-run.sh" "$@" </dev/null; }
for program in velmarin-host velmarin-inspect; do
    shown=$(wine_run "$package/$program.exe" --version | tr -d '\r')
    [[ "$shown" == "$program $version" ]] || fail "$program.exe --version printed \"$shown\""
done

wine_run cmd.exe /c exit
ln -sfn "$package/demo" "$drive_d"
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
echo "--- demo\\run-demo.cmd from the unpacked package"
wine_run cmd.exe /c "$(windows_path "$package/demo/run-demo.cmd")" | tr -d '\r' ||
    fail "run-demo.cmd failed"
[[ -s "$package/demo/VORD/client-calls.log" && -s "$package/demo/VORD/temp/sldTree.ini" ]] ||
    fail "the demo left no client call log or tree file"
echo "--- velmarin-inspect.exe --check against the demo's installation"
wine_run "$package/velmarin-inspect.exe" --check --registry 'D:\registry.ini' | tr -d '\r' ||
    fail "velmarin-inspect.exe --check found the demo's installation incomplete"
echo "package $name checked"
