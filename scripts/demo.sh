#!/usr/bin/env bash
# The main job: builds the module, the emulator and the client double, then runs the demo script
# with the bundled drawings through the emulator, printing what the user would see, and the
# inspector's report of the assembly drawing.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/install-deps.sh linux >&2
cmake -S . -B build/demo -DCMAKE_BUILD_TYPE=Release -DVELMARIN_TESTS=OFF -DVELMARIN_BENCH=OFF >/dev/null
cmake --build build/demo -j"$(nproc)" --target velmarin-host velmarin-inspect Velmarin VORDDll >/dev/null
exec examples/run-demo.sh build/demo/bin
