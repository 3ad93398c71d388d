#!/usr/bin/env bash
# --plot as a user runs it: the charts of a data-file run and of the daily data as files of the
# asked size and kind; a request that cannot be drawn fails with one line and leaves no file.
set -uo pipefail
umbrix="$1"; src="$2"
py=/usr/bin/python3
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
run=("$umbrix" --now "21.6.2026 9:00" --location Freiburg --quiet
     --datafile "$src/examples/summer_days.txt" --columns date,time,Ta,RH,v,G
     --set ChkUeberschriften=1)
"${run[@]}" --output "$tmp/days.txt" --plot-size 900x500 --plot "heatmap:UTCI=$tmp/u.png" \
  --plot "series:Ta,Tmrt,PET=$tmp/s.svg" --plot "classes:UTCI=$tmp/c.svg" 2> "$tmp/err" ||
  fail "data-file run: $(cat "$tmp/err")"
"$umbrix" --now "21.6.2026 9:00" --location Freiburg --quiet --lang de --mode daily \
  --plot "daily=$tmp/d.svg" > /dev/null 2> "$tmp/err" || fail "daily: $(cat "$tmp/err")"
# PNG: the size asked for; SVG: well-formed, with the axis titles and every class in the legend
$py - "$tmp" <<'PY' || fail "pictures"
import struct, sys, xml.etree.ElementTree as ET
d = sys.argv[1]
head = open(f"{d}/u.png", "rb").read(24)
assert head[:8] == b"\x89PNG\r\n\x1a\n", "u.png is no PNG"
assert struct.unpack(">II", head[16:24]) == (900, 500), struct.unpack(">II", head[16:24])
def texts(name):
    root = ET.parse(f"{d}/{name}").getroot()
    return ["".join(e.itertext()).strip() for e in root.iter() if e.tag.endswith("text")]
s = texts("s.svg")
for title in ("Date", "Ta, Tmrt, PET [°C]"):
    assert title in s, f"s.svg lacks axis title {title!r}"
c = texts("c.svg")
classes = ["extreme heat stress", "very strong heat stress", "strong heat stress",
           "moderate heat stress", "no thermal stress", "slight cold stress",
           "moderate cold stress", "strong cold stress", "very strong cold stress",
           "extreme cold stress"]
for label in classes + ["Month", "Hours [h]"]:
    assert c.count(label) == 1, f"c.svg holds {label!r} {c.count(label)} times"
t = texts("d.svg")
for title in ("Datum", "Globalstrahlung je Tag [Wh/m²]", "Tatsächliche Sonnenscheindauer SDtat"):
    assert title in t, f"d.svg lacks {title!r}: {t}"
PY
# bad requests: status 1, one line, and no file
expect_error() {  # expect_error PATTERN FILE ARGS...
  local pattern="$1" file="$2"; shift 2
  "${run[@]}" "$@" > /dev/null 2> "$tmp/err"
  local rc=$?
  [ $rc -eq 1 ] || fail "$*: status $rc"
  [ "$(wc -l < "$tmp/err")" -eq 1 ] || fail "$*: not one line: $(cat "$tmp/err")"
  grep -q -- "$pattern" "$tmp/err" || fail "$*: '$pattern' not in: $(cat "$tmp/err")"
  [ ! -e "$file" ] || fail "$*: $file was written"
}
expect_error 'unknown kind "bars"' "$tmp/x.svg" --plot "bars:Ta=$tmp/x.svg"
expect_error 'no column "Tx"' "$tmp/x.svg" --plot "heatmap:Tx=$tmp/x.svg"
expect_error 'must end in .svg or .png' "$tmp/x.gif" --plot "heatmap:Ta=$tmp/x.gif"
expect_error 'from 200 to 10000' "$tmp/x.svg" --plot-size 100x100 --plot "heatmap:Ta=$tmp/x.svg"
expect_error "$tmp/no/x.png" "$tmp/no/x.png" --plot "heatmap:Ta=$tmp/no/x.png"
expect_error 'not a diagram' "$tmp/x.svg" --mode polar --plot "heatmap:Ta=$tmp/x.svg"
echo "plot: ok"
