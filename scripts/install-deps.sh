#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
# Usage: scripts/install-deps.sh [linux|all]   (all adds the Windows cross compilers and Wine)
set -euo pipefail

packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
          python3-ezdxf librsvg2-bin)
if [[ "${1:-linux}" == all ]]; then
    packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 binutils-mingw-w64-i686
               zip unzip)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

run_root() { if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi; }
echo "Installing: ${missing[*]}"
run_root apt-get update -qq
run_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
