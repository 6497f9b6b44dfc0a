#!/usr/bin/env bash
# Fails when a source file of the plug-in, the programs or the tools differs from the project's
# .clang-format, naming each file and line clang-format would change. Nothing is rewritten.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
format=${CLANG_FORMAT:-clang-format}
if ! command -v "$format" >/dev/null; then
    echo "check-format: $format not found (set CLANG_FORMAT to the program to use)" >&2
    exit 2
fi

cd "$root"
mapfile -d '' files < <(find src apps tools \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
if "$format" --style=file --dry-run -Werror "${files[@]}"; then
    echo "All ${#files[@]} files follow .clang-format."
else
    echo "check-format: files above differ from .clang-format" >&2
    exit 1
fi
