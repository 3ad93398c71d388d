#!/usr/bin/env bash
# Fails when a C++ file of the tree is not formatted as .clang-format says; names each file and
# how to mend it.
set -uo pipefail
cd "${1:-.}" || exit 1
format=$(command -v clang-format || command -v clang-format-14) || {
    echo "format: clang-format is not installed"; exit 1; }
mapfile -t files < <(find src include tests bench examples python \( -name '*.h' -o -name '*.cpp' \) |
                     grep -v '^tests/fuzz/corpus/' | sort)
# one run for all; only when it fails, one per file to name them
"$format" --dry-run -Werror "${files[@]}" > /dev/null 2>&1 && {
    echo "format: ${#files[@]} files formatted"; exit 0; }
bad=()
for f in "${files[@]}"; do
    "$format" --dry-run -Werror "$f" > /dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
    printf 'format: not formatted: %s\n' "${bad[@]}"
    echo "format: run clang-format -i on them"
    exit 1
fi
echo "format: ${#files[@]} files formatted"
