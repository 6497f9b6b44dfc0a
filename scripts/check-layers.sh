#!/usr/bin/env bash
# Fails when a source file includes a folder of a higher layer than its own, or another folder of
# its own layer. The order is written down once, in src/layers.txt.
set -euo pipefail
src=$(cd "$(dirname "$0")/../src" && pwd)

declare -A rank
level=0
while read -r line; do
    line=${line%%#*}
    [[ -z "${line// }" ]] && continue
    for folder in $line; do rank[$folder]=$level; done
    level=$((level + 1))
done <"$src/layers.txt"

# The listed folder a path lies in: the longest listed prefix ("" when none).
layer_of() {
    local path=$1 best=""
    for folder in "${!rank[@]}"; do
        if [[ "$path" == "$folder/"* && ${#folder} -gt ${#best} ]]; then best=$folder; fi
    done
    echo "$best"
}

status=0
while IFS= read -r -d '' file; do
    relative=${file#$src/}
    own=$(layer_of "$relative")
    [[ -n "$own" ]] || continue
    while IFS= read -r included; do
        target=$(layer_of "$included")
        [[ -n "$target" && "$target" != "$own" ]] || continue
        if [[ ${rank[$target]} -le ${rank[$own]} ]]; then
            echo "$relative includes $included: $target is not below $own"
            status=1
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" \( -name '*.h' -o -name '*.cpp' \) -print0)
if [[ $status -eq 0 ]]; then echo "Every include runs downward."; fi
exit $status
