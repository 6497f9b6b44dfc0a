#!/usr/bin/env bash
# Builds the package an administrator installs on Windows, from a clean tree:
# dist/velmarin-<version>-win32.zip with the 32-bit plug-in module, the emulator and the inspector
# (each with a version resource), the client test double in a folder of its own, the demo with its
# .cmd, and the documentation.
#
#   scripts/package-windows.sh          BUILD_DIR=build/win32 by default
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
version=$(sed -n 's/^project(Velmarin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n "$version" ]] || { echo "package-windows.sh: no version in CMakeLists.txt" >&2; exit 2; }
build=${BUILD_DIR:-$top/build/win32}
name=velmarin-$version-win32
stage=$top/build/package/$name
zip=$top/dist/$name.zip

# A 32-bit build already configured (the test stage's) is used as it is, so that CI builds once.
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
        -DCMAKE_BUILD_TYPE=Release -DVELMARIN_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j"${JOBS:-$(nproc)}" --target Velmarin velmarin-host velmarin-inspect VORDDll
bin=$build/bin
FORMAT=pei-i386 scripts/check-win32-exports.sh "$bin/Velmarin.arx"
FORMAT=pei-i386 scripts/check-win32-exports.sh "$bin/VORDDll.dll" VORD_Invoke
# Each file says which version it is (the resource's strings are UTF-16, hence -el).
for file in Velmarin.arx velmarin-host.exe velmarin-inspect.exe VORDDll.dll; do
    strings -el "$bin/$file" | grep -qx "$version" ||
        { echo "package-windows.sh: $file carries no version resource $version" >&2; exit 1; }
done

rm -rf "$stage" "$zip"
mkdir -p "$stage/client-test-double" "$stage/demo" "$stage/docs" "$top/dist"
cp "$bin/Velmarin.arx" "$bin/velmarin-host.exe" "$bin/velmarin-inspect.exe" "$stage/"
# The double never lies beside the module, where it could be taken for the real client.
cp "$bin/VORDDll.dll" "$stage/client-test-double/"
cp -R examples/demo/. "$stage/demo/"
cp docs/*.md docs/*.svg "$stage/docs/"
cp README.md "$stage/"
cp docs/windows.md "$stage/README-Windows.md"
(cd "$top/build/package" && zip -qrX "$zip" "$name")
echo "$zip"
