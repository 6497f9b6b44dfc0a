#!/usr/bin/env bash
# Builds everything and runs every test: the Linux suite, the same suite under the address and
# undefined-behaviour sanitizers, the shipped 32-bit Windows build with its tests and the demo under
# 32-bit Wine, and each fuzz target for a bounded time. Installs what is missing first.
#
#   scripts/test.sh                 everything
#   STAGES="linux sanitize" scripts/test.sh    only some stages
#   FUZZ_SECONDS=60                 time per fuzz target
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
stages=${STAGES:-"linux sanitize windows fuzz"}
jobs=${JOBS:-$(nproc)}
has() { [[ " $stages " == *" $1 "* ]]; }

if has windows; then scripts/install-deps.sh all; else scripts/install-deps.sh linux; fi

stage() { echo; echo "=== $* ==="; }

if has linux; then
    stage "Linux build and tests"
    cmake -S . -B build/linux -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build/linux -j"$jobs"
    ctest --test-dir build/linux -j"$jobs" --output-on-failure
fi

if has sanitize; then
    stage "Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DVELMARIN_SANITIZE=ON \
        -DVELMARIN_BENCH=OFF >/dev/null
    cmake --build build/sanitize -j"$jobs"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build/sanitize -j"$jobs" --output-on-failure
fi

if has windows; then
    windows_started=$(date +%s)
    stage "Windows: the shipped 32-bit build, tested under 32-bit Wine"
    export WINEPREFIX="$top/build/win32/wineprefix" WINE=/usr/lib/wine/wine
    cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/win32 -j"$jobs"
    FORMAT=pei-i386 scripts/check-win32-exports.sh build/win32/bin/Velmarin.arx
    FORMAT=pei-i386 scripts/check-win32-exports.sh build/win32/bin/VORDDll.dll VORD_Invoke
    # Wine's first start creates the prefix, which takes a minute: done once here, not inside a
    # test's time limit.
    cmake/wine-run.sh cmd.exe /c exit
    # One test at a time: the tests set the client's registry value, which all of them share.
    ctest --test-dir build/win32 -j1 --output-on-failure

    stage "Windows: the demo under Wine, byte for byte as on Linux"
    if [[ ! -x build/linux/bin/velmarin-host ]]; then
        cmake -S . -B build/linux -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
        cmake --build build/linux -j"$jobs" --target velmarin-host Velmarin VORDDll
    fi
    scripts/compare-windows-demo.sh build/linux/bin build/win32/bin
    stage "Windows: end-to-end scenarios, the Linux build against the 32-bit build under Wine"
    scripts/run-scenarios.sh
    stage "Windows: the package, checked from the unpacked zip under Wine"
    JOBS=$jobs scripts/package-windows.sh && scripts/check-windows-package.sh
    cmake/wine-run.sh --stop
    echo "Windows stage: $(($(date +%s) - windows_started)) s"
fi

if has fuzz; then
    stage "Fuzz targets, ${FUZZ_SECONDS:-60} s each"
    CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVELMARIN_FUZZ=ON -DVELMARIN_TESTS=OFF -DVELMARIN_BENCH=OFF >/dev/null
    cmake --build build/fuzz -j"$jobs" --target fuzzers
    # Each target starts from its seeds and from what earlier runs found (build/fuzz/corpus),
    # so coverage grows from run to run. A crash, a sanitizer report, a broken invariant or an
    # input that takes longer than 25 s fails the stage; the input is kept beside the log.
    for target in build/fuzz/fuzz/fuzz_*; do
        [[ -f "$target" && -x "$target" ]] || continue
        name=$(basename "$target")
        corpus="build/fuzz/corpus/$name"
        mkdir -p "$corpus"
        echo "--- $name"
        log="build/fuzz/$name.log"
        if ! "$target" -max_total_time="${FUZZ_SECONDS:-60}" -timeout=25 -rss_limit_mb=4096 \
            -print_final_stats=1 -artifact_prefix="build/fuzz/$name-" "$corpus" \
            "fuzz/corpus/${name#fuzz_}" >"$log" 2>&1; then
            tail -n 40 "$log"; echo "$name found a fault (input and log in build/fuzz)"; exit 1
        fi
        grep -E "stat::number_of_executed_units" "$log" || true
    done
fi
echo; echo "All stages passed: $stages"
