#!/usr/bin/env bash
# Runs every end-to-end scenario (tests/scenarios/<name>/) with the Linux build and with the 32-bit
# Windows build under Wine, and compares what the two leave behind: the printed output, the error
# lines, the exit status and every file on the drive, byte for byte.
#
# A scenario folder is drive D: as the run finds it. It holds README (one line saying what it
# shows; a line "Skipped under Wine: REASON" names a deviation of Wine from Windows that the
# scenario depends on), registry.ini, script.txt and the files of the installation. Each run gets
# a fresh copy; a folder holding client-double.ini gets the client double as VORDDll.dll, and a
# folder plugin/ gets the module, which is then loaded from there. A README line "Read-only: PATH"
# makes that file of the copy read-only (git keeps no such flag).
#
#   scripts/run-scenarios.sh [NAME...]      all scenarios, or only those named
#   LINUX_BIN=build/linux/bin WINDOWS_BIN=build/win32/bin   where the two builds are (defaults)
#   WINDOWS_BIN= (empty)                     only the Linux run: each scenario runs, nothing compared
#   KEEP=1                                   keep the runs' folders (they are kept on a difference)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
scenarios=$top/tests/scenarios
linux_bin=$(cd "${LINUX_BIN:-$top/build/linux/bin}" && pwd)
windows_bin=${WINDOWS_BIN-$top/build/win32/bin}
[[ -n "$windows_bin" ]] && windows_bin=$(cd "$windows_bin" && pwd)

for file in velmarin-host Velmarin.arx VORDDll.dll; do
    [[ -e "$linux_bin/$file" ]] || { echo "run-scenarios.sh: $linux_bin/$file is missing" >&2; exit 2; }
done
if [[ -n "$windows_bin" ]]; then
    for file in velmarin-host.exe Velmarin.arx VORDDll.dll; do
        [[ -e "$windows_bin/$file" ]] ||
            { echo "run-scenarios.sh: $windows_bin/$file is missing" >&2; exit 2; }
    done
    # 32-bit Wine in the 32-bit build's prefix: drive D: is re-pointed for every scenario and put
    # back at the end. Wine reaches Chinese file names only with a UTF-8 Chinese locale; it is
    # generated when the system has none.
    export WINE=${WINE:-/usr/lib/wine/wine}
    export WINEPREFIX=${WINEPREFIX:-$top/build/win32/wineprefix}
    drive_d=$WINEPREFIX/dosdevices/d:
    saved_drive_d=$(readlink "$drive_d" 2>/dev/null || true)
    if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
        export LOCPATH=$top/build/win32/locale
        [[ -d "$LOCPATH/zh_CN.UTF-8" ]] ||
            { mkdir -p "$LOCPATH" && localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8"; }
    fi
    wine_run() { "$top/cmake/wine-run.sh" "$@"; }
    wine_run cmd.exe /c exit
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/velmarin-scenarios-XXXXXX")
cleanup() {
    if [[ -n "$windows_bin" ]]; then
        rm -f "$drive_d"
        if [[ -n "$saved_drive_d" ]]; then ln -s "$saved_drive_d" "$drive_d"; fi
    fi
    if [[ -z "${KEEP:-}" && $failed -eq 0 ]]; then rm -rf "$work"; fi
}
failed=0
trap cleanup EXIT

# A fresh copy of scenario $1 in folder $2, with the client double $3 and the module $4 installed.
prepare() {
    cp -R "$1/." "$2/"
    find "$2" -name client-double.ini -execdir cp "$3" VORDDll.dll \;
    if [[ -d "$2/plugin" ]]; then cp "$4" "$2/plugin/Velmarin.arx"; fi
    sed -n 's/^Read-only: *//p' "$1/README" | while IFS= read -r file; do chmod a-w "$2/$file"; done
}

# A path with each component in UTF-8: a component that is no UTF-8 is GBK.
utf8_path() {
    local component spelled name=
    local IFS=/
    for component in $1; do
        spelled=$(printf '%s' "$component" | iconv -f UTF-8 -t UTF-8 2>/dev/null) ||
            spelled=$(printf '%s' "$component" | iconv -f GBK -t UTF-8)
        name=${name:+$name/}$spelled
    done
    printf '%s' "$name"
}

# Every folder and file under $1 with its contents' checksum, one a line, names in UTF-8: Windows
# names appear to Linux in UTF-8 under Wine, while the Linux build writes them in GBK, as the ANSI
# functions of a Chinese Windows store them (in a folder found under its UTF-8 name, too). The
# installed binaries differ by build and are left out.
manifest() {
    (cd "$1" && find . -mindepth 1 ! -name VORDDll.dll ! -path ./plugin/Velmarin.arx -print0 |
        while IFS= read -r -d '' entry; do
            name=$(utf8_path "$entry")
            if [[ -L "$entry" ]]; then printf '%s -> %s\n' "$name" "$(readlink "$entry")"
            elif [[ -d "$entry" ]]; then printf '%s/\n' "$name"
            else printf '%s\t%s\n' "$name" "$(sha256sum <"$entry" | cut -d' ' -f1)"; fi
        done | LC_ALL=C sort)
}

# Runs scenario copy $1 with the Linux build; output in $1.out, $1.err, $1.status. The script comes
# on standard input, so that error lines name it the same way in both runs.
run_linux() {
    local module=()
    [[ -d "$1/plugin" ]] && module=(--module "$1/plugin/Velmarin.arx")
    local status=0
    "$linux_bin/velmarin-host" --drive "D=$1" --registry "$1/registry.ini" "${module[@]}" \
        <"$1/script.txt" >"$1.out" 2>"$1.err" || status=$?
    echo "$status" >"$1.status"
}

# The same with the Windows build, drive D: being the copy. The console's CR LF line ends become LF.
# The registry file's values stay in Wine's registry, so the client's key is removed first when
# this scenario's registry file is not the one the previous run wrote.
last_registry=
run_windows() {
    ln -sfn "$1" "$drive_d"
    if [[ -z "$last_registry" ]] || ! cmp -s "$last_registry" "$1/registry.ini"; then
        wine_run reg delete 'HKLM\SOFTWARE\TORVEL' /f </dev/null >/dev/null 2>&1 || true
    fi
    last_registry=$1/registry.ini
    local module=()
    [[ -d "$1/plugin" ]] && module=(--module 'D:\plugin\Velmarin.arx')
    local status=0
    wine_run "$windows_bin/velmarin-host.exe" --registry 'D:\registry.ini' "${module[@]}" \
        <"$1/script.txt" >"$1.raw-out" 2>"$1.raw-err" || status=$?
    sed 's/\r$//' "$1.raw-out" >"$1.out"
    sed 's/\r$//' "$1.raw-err" >"$1.err"
    echo "$status" >"$1.status"
}

# Names what differs between the runs $1 (Linux) and $2 (Windows); fails when something does.
compare() {
    local same=0
    for part in out err status; do
        if ! cmp -s "$1.$part" "$2.$part"; then
            same=1; echo "    $part differs:"; diff "$1.$part" "$2.$part" | sed 's/^/      /' | head -20
        fi
    done
    if ! diff <(manifest "$1") <(manifest "$2") >"$2.files-diff"; then
        same=1; echo "    files on the drive differ (< Linux, > Windows):"
        sed 's/^/      /' "$2.files-diff" | head -20
    fi
    return $same
}

names=("$@")
if [[ ${#names[@]} -eq 0 ]]; then
    for dir in "$scenarios"/*/; do names+=("$(basename "$dir")"); done
fi
passed=0 skipped=0
started=$(date +%s)
for name in "${names[@]}"; do
    source=$scenarios/$name
    [[ -f "$source/script.txt" ]] || { echo "run-scenarios.sh: no scenario $name" >&2; exit 2; }
    mkdir -p "$work/$name"
    linux=$work/$name/linux windows=$work/$name/windows
    mkdir "$linux"
    prepare "$source" "$linux" "$linux_bin/VORDDll.dll" "$linux_bin/Velmarin.arx"
    run_linux "$linux"
    deviation=$(sed -n 's/^Skipped under Wine: *//p' "$source/README" 2>/dev/null || true)
    if [[ -z "$windows_bin" ]]; then
        echo "ran     $name (exit $(cat "$linux.status"))"; passed=$((passed + 1)); continue
    fi
    if [[ -n "$deviation" ]]; then
        echo "skipped $name under Wine: $deviation"; skipped=$((skipped + 1)); continue
    fi
    mkdir "$windows"
    prepare "$source" "$windows" "$windows_bin/VORDDll.dll" "$windows_bin/Velmarin.arx"
    run_windows "$windows"
    if compare "$linux" "$windows"; then
        echo "same    $name"; passed=$((passed + 1))
    else
        echo "DIFFERS $name (runs kept in $work/$name)"; failed=$((failed + 1))
    fi
done
echo "scenarios: $passed passed, $failed differ, $skipped skipped under Wine" \
    "($(($(date +%s) - started)) s)"
[[ $failed -eq 0 ]]
