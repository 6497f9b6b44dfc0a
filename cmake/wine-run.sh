#!/bin/sh
# Runs a Windows program of the cross build under Wine: CTest's emulator for the Windows builds.
# The prefix (WINEPREFIX, else ~/.wine) is created on first use, one creator at a time; a Wine
# server is kept alive between programs, so that each test does not pay for starting Wine's
# system processes again, until --stop ends it (the test suite's last step). The ANSI code page
# is 936 (GBK), as on a Chinese Windows.
#
#   cmake/wine-run.sh PROGRAM.exe [ARGUMENTS...]
#   cmake/wine-run.sh --stop        ends the server and every Wine process of the prefix
#   WINE=/usr/lib/wine/wine64 and WINESERVER=/usr/lib/wine/wineserver by default; the 32-bit
#   build sets WINE=/usr/lib/wine/wine.
set -eu
wine=${WINE:-/usr/lib/wine/wine64}
server=${WINESERVER:-$(dirname "$wine")/wineserver}
prefix=${WINEPREFIX:-$HOME/.wine}
export WINEPREFIX="$prefix"
export WINEDEBUG=${WINEDEBUG:--all}
# No offer to install Wine's .NET and HTML runtimes when the prefix is made.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=d}
export LC_ALL=zh_CN.UTF-8

if [ "${1:-}" = --stop ]; then
    "$server" -k >/dev/null 2>&1 || true
    exit 0
fi

mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
        "$wine" wineboot -i </dev/null >/dev/null 2>&1 9>&- || true
    fi
    # A server that is already running answers so and stays as it is. A new one is started with
    # Wine's system processes, so that they do not hold the output of the first program that
    # would otherwise start them (a test runner reading that output would wait for them).
    # The lock is not passed on: the server and Wine's processes outlive this script.
    if "$server" -p </dev/null >/dev/null 2>&1 9>&-; then
        "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&- || true
    fi
) 9>"$prefix.lock"
exec "$wine" "$@"
