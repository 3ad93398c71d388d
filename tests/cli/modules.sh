#!/usr/bin/env bash
# The map files and the charts are modules opened only by a run that asks for them: a program
# whose module is broken or missing still runs everything else, and a map or chart run fails
# with one line naming the module and the reason, status 1, before any output is written.
set -uo pipefail
umbrix="$1"
src="$2"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
mkdir "$tmp/bin"
cp "$umbrix" "$(dirname "$umbrix")/locations.lst" "$tmp/bin/"
printf 'not a module\n' > "$tmp/bin/umbrix-maps.so"  # broken; the charts one is missing
alone="$tmp/bin/umbrix"
"$alone" --now "21.6.2026 9:00" --location Freiburg --set EditTa=25 > "$tmp/out" 2> "$tmp/err" ||
  fail "a point run without the modules: $(cat "$tmp/err")"
cmp -s "$tmp/out" <("$umbrix" --now "21.6.2026 9:00" --location Freiburg --set EditTa=25) ||
  fail "a point run without the modules differs"
expect_refused() {  # expect_refused PATTERN... -- ARGS...
  local patterns=()
  while [ "$1" != -- ]; do patterns+=("$1"); shift; done
  shift
  (cd "$tmp" && "$alone" --now "21.6.2026 9:00" --location Freiburg "$@" > out 2> err)
  local rc=$?
  [ $rc -eq 1 ] || fail "$*: status $rc"
  [ "$(wc -l < "$tmp/err")" -eq 1 ] || fail "$*: not one line: $(cat "$tmp/err")"
  for p in "${patterns[@]}"; do
    grep -qF -- "$p" "$tmp/err" || fail "$*: '$p' not in: $(cat "$tmp/err")"
  done
  [ -z "$(ls "$tmp" | grep -v '^bin$\|^out$\|^err$')" ] || fail "$*: left $(ls "$tmp")"
}
expect_refused "umbrix-maps.so" "$tmp/bin/umbrix-maps.so" "file too short" -- \
  --obstacles "$src/examples/courtyard.obs" --mode map --time 15:00 --save plan.asc
if [ -f "$(dirname "$umbrix")/umbrix-charts.so" ]; then
  expect_refused "umbrix-charts.so" "not found in $tmp/bin" -- \
    --datafile "$src/examples/summer_days.txt" --columns date,time,Ta,RH,v,G \
    --set ChkUeberschriften=1 --output days.txt --plot "heatmap:UTCI=u.png"
fi
