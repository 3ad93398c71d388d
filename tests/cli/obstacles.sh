#!/usr/bin/env bash
# --obstacles opens an obstacle file in the editor and closes it; unreadable lines are reported
# on standard error without ending the run; a missing file ends it with status 1.
set -uo pipefail
umbrix="$1"
src="$2"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
run() { "$umbrix" --now "21.12.2026 9:00" --set EditDat=21.12.2026 --set EditZeit=12:00 "$@"; }

run --obstacles "$src/examples/courtyard.obs" > "$tmp/out" 2> "$tmp/err" || fail "example: status $?"
[ -s "$tmp/err" ] && fail "example: unexpected message: $(cat "$tmp/err")"
[ "$(wc -l < "$tmp/out")" -eq 9 ] || fail "example: expected one table row"

printf '# test\r\nl 1 2 x\r\ng 1 2 3\r\nl 1 2 10 3 4 .3\r\nn 5 5 4 2 6 0.3\r\n' > "$tmp/bad.obs"
run --obstacles "$tmp/bad.obs" > "$tmp/out" 2> "$tmp/err" || fail "bad lines: status $?"
grep -q '3 obstacle line(s) could not be read' "$tmp/err" || fail "bad lines: $(cat "$tmp/err")"
grep -q '(first: line 2' "$tmp/err" || fail "bad lines: first line: $(cat "$tmp/err")"
[ "$(wc -l < "$tmp/out")" -eq 9 ] || fail "bad lines: the table is missing"

run --obstacles "$tmp/none.obs" > "$tmp/out" 2> "$tmp/err"
[ $? -eq 1 ] || fail "missing file: status"
grep -q '^umbrix: error: .*none.obs' "$tmp/err" || fail "missing file: $(cat "$tmp/err")"

# a building 10 m south and 20 m high hides the winter noon sun and narrows the sky
printf '# Umbrix obstacle file #\r\ng -15 -14 20 15 -14 20 15 -10 20 -15 -10 20 -15 -14 0 15 -14 0 15 -10 0 -15 -10 0\r\n' > "$tmp/south.obs"
column() {  # column NAME TABLE: the value of NAME in the table's row
  awk -F'\t' -v name="$1" 'NR == 7 { for (i = 1; i <= NF; i++) if ($i == name) c = i }
                           NR == 9 { print $c }' "$2"
}
run > "$tmp/free" || fail "free sky: status"
run --obstacles "$tmp/south.obs" > "$tmp/south" || fail "south building: status"
[ "$(column SVF_Umb "$tmp/free")" = "1.000" ] || fail "free sky SVF: $(column SVF_Umb "$tmp/free")"
awk -v s="$(column Sact "$tmp/free")" 'BEGIN { exit !(s > 50) }' || fail "free sky Sact"
awk -v s="$(column SVF_Umb "$tmp/south")" 'BEGIN { exit !(s < 0.95 && s > 0.5) }' ||
  fail "south building SVF: $(column SVF_Umb "$tmp/south")"
[ "$(column Sact "$tmp/south")" = "0.0" ] || fail "south building Sact: $(column Sact "$tmp/south")"

grep -q -- '--obstacles' <<< "$("$umbrix" --help)" || fail "--help lacks --obstacles"
echo "obstacles: ok"
