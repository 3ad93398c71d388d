#!/usr/bin/env bash
# The horizon sources from the command line: a horizon drawing (--horizon) and a topography
# file (--topography, its settings first with --set).
set -uo pipefail
umbrix="$1"
src="$2"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
day=(--now "21.6.2026 9:00" --location Freiburg --set EditDat=21.6.2026)
# column of the first row under a name in the name line
col() {  # col FILE NAME
  awk -F'\t' -v name="$2" 'NR==7 { for (i = 1; i <= NF; i++) if ($i == name) c = i }
                           NR==9 { print $c }' "$1"
}

# A ring below 45 degrees, drawn as a bitmap: SVF_Umb = 1 - sin 45 = 0.293 within a pixel's worth.
"$umbrix" "${day[@]}" --set EditZeit=7:00 --horizon "$src/tests/data/ring45.bmp" > "$tmp/ring" \
  || fail "--horizon: status $?"
svf=$(col "$tmp/ring" SVF_Umb)
awk -v s="$svf" 'BEGIN { exit !(s > 0.28 && s < 0.31) }' || fail "ring: SVF_Umb $svf"
[ "$(col "$tmp/ring" Sact)" = "0.0" ] || fail "ring: the sun at 22 degrees shines through"

# The valley: the morning sun behind the eastern ridge, the noon sun free, the sky view
# factor lowered.
for case in "7:00 hidden" "12:00 free" "18:00 hidden"; do
  set -- $case
  "$umbrix" "${day[@]}" --set EditZeit="$1" --set EditZ0=102 \
    --topography "$src/examples/valley.txt" > "$tmp/valley" || fail "--topography: status"
  svf=$(col "$tmp/valley" SVF_Umb)
  awk -v s="$svf" 'BEGIN { exit !(s > 0.6 && s < 0.75) }' || fail "valley $1: SVF_Umb $svf"
  sact=$(col "$tmp/valley" Sact)
  if [ "$2" = hidden ]; then [ "$sact" = "0.0" ] || fail "valley $1: Sact $sact"
  else awk -v s="$sact" 'BEGIN { exit !(s > 100) }' || fail "valley $1: Sact $sact"; fi
done
# Grid settings apply before the file: with 100 m the same valley is twice as wide and lower
# in angle, so 7:00 comes out of the shade.
"$umbrix" "${day[@]}" --set EditZeit=7:00 --set EditRast=100 --set EditX0=2000 \
  --set EditY0=2000 --set EditZ0=102 --topography "$src/examples/valley.txt" > "$tmp/wide" \
  || fail "wide valley: status"
awk -v s="$(col "$tmp/wide" Sact)" 'BEGIN { exit !(s > 100) }' || fail "wide valley: still shaded"

# Failures: one line, status 1, naming what went wrong.
expect_error() {  # expect_error PATTERN ARGS...
  local pattern="$1"; shift
  "$umbrix" "${day[@]}" "$@" > "$tmp/out" 2> "$tmp/err"
  local rc=$?
  [ $rc -eq 1 ] || fail "$*: status $rc"
  [ "$(wc -l < "$tmp/err")" -eq 1 ] || fail "$*: expected one line, got: $(cat "$tmp/err")"
  grep -q -- "$pattern" "$tmp/err" || fail "$*: '$pattern' not in: $(cat "$tmp/err")"
}
expect_error 'underground' --topography "$src/examples/valley.txt"
printf '1 2 3\n4 5 x6\n' > "$tmp/bad.txt"
expect_error 'Invalid source file! line 2: "x6" is not a number' --topography "$tmp/bad.txt"
expect_error 'topography: cannot open ".*none.txt": No such file or directory' \
  --topography "$tmp/none.txt"
printf '<svg xmlns="http://www.w3.org/2000/svg"/>' > "$tmp/plan.svg"
expect_error 'only be imported in the desktop program' --horizon "$tmp/plan.svg"
printf 'BM not a bitmap' > "$tmp/bad.bmp"
expect_error 'bad.bmp' --horizon "$tmp/bad.bmp"
grep -q -- '--topography' <<< "$("$umbrix" --help)" || fail "--help lacks --topography"
grep -q -- '--horizon' <<< "$("$umbrix" --help)" || fail "--help lacks --horizon"
echo "editors: ok"
