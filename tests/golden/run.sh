#!/usr/bin/env bash
# Compares the complete output of every case in cases.sh with expected/<name>.txt, byte for
# byte. UMBRIX_GOLDEN_REGEN=1 rewrites the expected files instead (only together with a
# deliberate change of behaviour).
set -uo pipefail
umbrix="$1"
SRC="$2"
here="$SRC/tests/golden"
D="$here/data"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
failed=0
count=0

golden() {
    local name="$1"; shift
    OUT="$tmp/$name"; mkdir -p "$OUT"
    local got="$tmp/$name.txt"
    (cd "$OUT" && "$umbrix" --locations "$D/locations.lst" --now "21.6.2026 9:00" "$@") \
        > "$got" 2>&1
    echo "== status $?" >> "$got"
    local f
    for f in $(cd "$OUT" && find . -type f | LC_ALL=C sort); do
        if LC_ALL=C grep -qaP '[\x00-\x08\x0e-\x1f]' "$OUT/$f" 2>/dev/null; then
            echo "== file $f sha256 $(sha256sum < "$OUT/$f" | cut -d' ' -f1)" >> "$got"
        else
            echo "== file $f" >> "$got"
            cat "$OUT/$f" >> "$got"
        fi
    done
    count=$((count + 1))
    if [ "${UMBRIX_GOLDEN_REGEN:-0}" = 1 ]; then
        cp "$got" "$here/expected/$name.txt"
    elif ! cmp -s "$got" "$here/expected/$name.txt"; then
        echo "FAIL: $name differs from expected/$name.txt:"
        diff "$here/expected/$name.txt" "$got" | head -20
        failed=1
    fi
}

# the command lines refer to $SRC, $D and $OUT
. "$here/cases.sh"
[ "$count" -gt 0 ] || { echo "FAIL: no cases"; exit 1; }
exit $failed
