#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
# Usage: scripts/install-deps.sh [linux|all]   (all adds the Windows cross compilers, 32-bit Wine
#                                               and the zh_CN.UTF-8 locale Wine needs to reach
#                                               Chinese file names)
# Running it again changes nothing.
set -euo pipefail

packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
          python3-ezdxf librsvg2-bin)
windows=false
if [[ "${1:-linux}" == all ]]; then
    windows=true
    # The shipped build is 32-bit: its programs run under 32-bit Wine (wine32 of the i386
    # architecture).
    packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 wine64 wine32:i386
               locales zip unzip)
fi

run_root() { if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "Installing: ${missing[*]}"
    if $windows && ! dpkg --print-foreign-architectures | grep -qx i386; then
        run_root dpkg --add-architecture i386
    fi
    # A mirror part way through a sync fails one index now and then: try again, and go on with
    # the indexes there are, so that only a package that truly cannot be had stops the install.
    for attempt in 1 2 3; do
        run_root apt-get update -qq && break
        echo "apt-get update failed (attempt $attempt)"
        sleep 15
    done
    run_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

# cmake/wine-run.sh runs Wine with LC_ALL=zh_CN.UTF-8; without that locale every Chinese file
# name fails under Wine with "file not found".
if $windows && ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf-\?8'; then
    echo "Generating the zh_CN.UTF-8 locale"
    if ! grep -qx 'zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'zh_CN.UTF-8 UTF-8' | run_root tee -a /etc/locale.gen >/dev/null
    fi
    run_root locale-gen --keep-existing >/dev/null
fi
