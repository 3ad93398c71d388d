#!/usr/bin/env bash
# The diagram modes on the command line: --mode polar|shadows, --time, --save as SVG or BMP,
# SDact in the table, and the messages for what cannot work.
set -uo pipefail
umbrix="$1"
src="$2"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
run() { "$umbrix" --now "21.6.2026 9:00" --location Freiburg "$@"; }

# the sun path diagram as SVG and as BMP
run --mode polar --set EditDat=21.6.2026 --set EditZeit=15:00 --save "$tmp/sun.svg" \
  > "$tmp/out" 2> "$tmp/err" || fail "polar svg: status $?: $(cat "$tmp/err")"
[ -s "$tmp/out" ] && fail "polar: a table on standard output"
head -c 5 "$tmp/sun.svg" | grep -q '<?xml' || fail "polar: not an SVG"
grep -q 'width="561" height="581"' "$tmp/sun.svg" || fail "polar: size"
grep -q '>21.6.</text>' "$tmp/sun.svg" || fail "polar: date label"
grep -q '#FFAA00' "$tmp/sun.svg" || fail "polar: no sun disc at 15:00"
run --mode polar --set EditDat=21.6.2026 --set EditZeit=15:00 --time 23:00 --save "$tmp/night.svg" \
  || fail "polar at night: status"
grep -q '#FFAA00' "$tmp/night.svg" && fail "polar: sun disc at night"
run --mode polar --set EditDat=21.6.2026 --save "$tmp/sun.bmp" || fail "polar bmp: status"
[ "$(head -c 2 "$tmp/sun.bmp")" = "BM" ] || fail "polar: not a bitmap"
[ "$(stat -c %s "$tmp/sun.bmp")" -eq $((54 + 1684 * 581)) ] || fail "polar: bitmap size"

# without --save the diagram is only announced
run --mode polar > "$tmp/out" 2> "$tmp/err" || fail "polar unsaved: status"
grep -q 'save it with --save' "$tmp/err" || fail "polar unsaved: $(cat "$tmp/err")"

# the shadow diagram of the example courtyard
run --obstacles "$src/examples/courtyard.obs" --mode shadows --set EditDat=21.6.2026 \
  --set EditZeit=10:00 --save "$tmp/shadows.svg" 2> "$tmp/err" || fail "shadows: $(cat "$tmp/err")"
grep -q 'width="481" height="501"' "$tmp/shadows.svg" || fail "shadows: size"
grep -q 'fill="#808080"' "$tmp/shadows.svg" || fail "shadows: no building shadow"
grep -q 'fill="#008000"' "$tmp/shadows.svg" || fail "shadows: no deciduous tree"
run --obstacles "$src/examples/courtyard.obs" --mode shadows --set EditDat=21.6.2026 \
  --time 0:30 --save "$tmp/night.svg" || fail "shadows at night: status"
grep -q '<rect x="0" y="0" width="4010" height="4010" fill="#808080"' "$tmp/night.svg" ||
  fail "shadows: night is not the grey square"

# what cannot work says so, with status 1
run --mode shadows > /dev/null 2> "$tmp/err"
[ $? -eq 1 ] || fail "shadows without obstacles: status"
grep -q 'open an obstacle file first' "$tmp/err" || fail "shadows without obstacles: $(cat "$tmp/err")"
run --time 10:00 > /dev/null 2> "$tmp/err"
[ $? -eq 1 ] || fail "--time in table mode: status"
grep -q 'diagram modes' "$tmp/err" || fail "--time in table mode: $(cat "$tmp/err")"
run --mode polar --time 25:99 > /dev/null 2> "$tmp/err"
[ $? -eq 1 ] || fail "bad --time: status"
grep -q 'cannot read "25:99"' "$tmp/err" || fail "bad --time: $(cat "$tmp/err")"

# SDact in the table: a building 10 m south, 20 m high, takes the winter noon sun
printf '# test\r\ng -15 -16 20 15 -16 20 15 -10 20 -15 -10 20 -15 -16 0 15 -16 0 15 -10 0 -15 -10 0\r\n' \
  > "$tmp/south.obs"
column() {  # column NAME TABLE: the value of NAME in the table's row
  awk -F'\t' -v name="$1" 'NR == 7 { for (i = 1; i <= NF; i++) if ($i == name) c = i }
                           NR == 9 { print $c }' "$2"
}
run --set SDtat1=1 --set EditDat=21.12.2026 > "$tmp/free" || fail "SDact: status"
run --set SDtat1=1 --set EditDat=21.12.2026 --obstacles "$tmp/south.obs" > "$tmp/south" ||
  fail "SDact with obstacles: status"
free=$(column SDact "$tmp/free"); south=$(column SDact "$tmp/south")
[ "$free" -gt 480 ] && [ "$free" -lt 560 ] || fail "SDact free: $free"
[ "$south" -lt $((free - 60)) ] || fail "SDact with the building: $south (free $free)"

grep -q -- '--time H:MM' <<< "$("$umbrix" --help)" || fail "--help lacks --time"
echo "diagrams: ok"
