#!/usr/bin/env bash
# Checks a Windows library built here: its export table holds exactly the expected names,
# undecorated, and it needs no MinGW runtime library that the CAD host would not have beside it.
#
#   scripts/check-win32-exports.sh build/win32/bin/Velmarin.arx
#           (expects zcrxEntryPoint and _hdllInstance, a 32-bit file)
#   scripts/check-win32-exports.sh build/win32/bin/VORDDll.dll VORD_Invoke
#
# OBJDUMP names the objdump to use (default: i686-w64-mingw32-objdump, which reads both the
# 32-bit and the 64-bit format); FORMAT, when set, is the file format the library must have
# (pei-i386 for the module the 32-bit CAD host loads).
set -euo pipefail

if [[ $# -lt 1 || "$1" == -h || "$1" == --help ]]; then
    echo "usage: $0 LIBRARY [EXPORT...]" >&2
    exit 2
fi
library=$1
shift
if [[ $# -gt 0 ]]; then
    expected=("$@")
else
    expected=(zcrxEntryPoint _hdllInstance)
fi
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
if [[ ! -f "$library" ]]; then
    echo "$library: no such file" >&2
    exit 1
fi
if ! command -v "$objdump" >/dev/null 2>&1; then
    echo "$objdump not found (install binutils-mingw-w64-i686)" >&2
    exit 1
fi

headers=$("$objdump" -p "$library")
format=$(sed -n 's/.*file format //p' <<<"$headers" | head -n1)

# The names of the "[Ordinal/Name Pointer] Table", one per line.
actual=$(awk '/^\[Ordinal\/Name Pointer\] Table/ {inside = 1; next}
              inside && /^[[:space:]]*\[/ {print $NF; next}
              inside {inside = 0}' <<<"$headers" | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)

status=0
if [[ "$actual" != "$wanted" ]]; then
    echo "$library: exports differ from the expected names" >&2
    diff <(echo "$wanted") <(echo "$actual") | sed -n 's/^< /  missing: /p; s/^> /  unexpected: /p' >&2
    status=1
fi
if [[ -n "${FORMAT:-}" && "$format" != "$FORMAT" ]]; then
    echo "$library: file format $format, expected $FORMAT" >&2
    status=1
fi
runtime=$(grep -oiE 'DLL Name: (libstdc\+\+[^ ]*|libgcc_s[^ ]*|libwinpthread[^ ]*)' \
    <<<"$headers" || true)
if [[ -n "$runtime" ]]; then
    echo "$library: needs MinGW runtime libraries:" >&2
    sed 's/^/  /' <<<"$runtime" >&2
    status=1
fi
if [[ $status -eq 0 ]]; then
    echo "$library ($format): exports $(tr '\n' ' ' <<<"$actual")"
fi
exit $status
