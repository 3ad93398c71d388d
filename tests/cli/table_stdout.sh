#!/usr/bin/env bash
# The default run prints the table for the first stored location, with --add rows under one
# header and the same table in a file with --output.
set -euo pipefail
umbrix="$1"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
printf '7.85\t48.00\t1.0\t278\tFreiburg\n-74.01\t40.71\t-5.0\t10\tNew York\n' > "$tmp/loc.lst"
run() { "$umbrix" --locations "$tmp/loc.lst" --now "21.6.2026 9:00" "$@"; }
fail() { echo "FAIL: $*"; exit 1; }

out=$(run --set EditDat=21.6.2026 --set EditZeit=12:00)
line() { printf '%s\n' "$out" | sed -n "$1p"; }
[ "$(line 1)" = "Umbrix 0.1.0" ] || fail "banner: $(line 1)"
[ "$(line 3)" = "$(printf 'place: \tFreiburg')" ] || fail "place line: $(line 3)"
[ "$(line 4)" = "$(printf 'geogr. longitude: \t7\xc2\xb051'"'"'\tlatitude: \t48\xc2\xb00'"'"'\ttimezone: UTC \t+1.0 h')" ] ||
  fail "coordinates line: $(line 4)"
[ "$(line 5)" = "$(printf 'horizon limitation: \t0.0%% \tsky view factor (Umbrix): \t1.000')" ] ||
  fail "horizon line: $(line 5)"
[ -z "$(line 6)" ] || fail "line 6 not empty"
names=$(line 7); units=$(line 8); row=$(line 9)
[ "$(printf '%s' "$names" | cut -f1-8)" = "$(printf 'date      \tday of\ttime\tsunr.\tsunset\tSDmax\tSDact\tSVF_Umb')" ] ||
  fail "names: $names"
[ "$(printf '%s' "$units" | cut -f1-3)" = "$(printf 'd.m.yyyy   \tyear\th:mm')" ] || fail "units: $units"
# date, day of year, time, sunrise, sunset, SDmax of Freiburg on 21 June
[ "$(printf '%s' "$row" | cut -f1-6)" = "$(printf '21.6.2026 \t172\t12:00\t4:29\t20:32\t963')" ] ||
  fail "row: $row"
[ "${row: -1}" = $'\t' ] || fail "row does not end with a tab"
[ "$(printf '%s\n' "$out" | wc -l)" -eq 9 ] || fail "expected 9 lines"

# --add: rows under the same header
out=$(run --set EditZeit=12:00 --new --set EditZeit=15:00 --add --set EditTag=1 --add)
[ "$(printf '%s\n' "$out" | wc -l)" -eq 11 ] || fail "--add: expected 11 lines"
[ "$(printf '%s\n' "$out" | grep -c '^Umbrix 0.1.0$')" -eq 1 ] || fail "--add: one header"
[ "$(printf '%s\n' "$out" | sed -n 10p | cut -f3)" = "15:00" ] || fail "--add: second row"
[ "$(printf '%s\n' "$out" | sed -n 11p | cut -f1-2)" = "$(printf '1.1.2026 \t1')" ] || fail "--add: third row"

# --output: the same table in the file, nothing on standard output
out=$(run --set EditZeit=12:00 --output "$tmp/table.txt")
[ -z "$out" ] || fail "--output printed to stdout"
[ "$(run --set EditZeit=12:00)" = "$(cat "$tmp/table.txt")" ] || fail "--output differs from stdout"
run --set EditZeit=12:00 --output "$tmp/t2.txt" --new --set EditZeit=13:00 --add
[ "$(wc -l < "$tmp/t2.txt")" -eq 10 ] || fail "--output --add: expected 10 lines"

# --save: the text view as a file
run --set EditZeit=12:00 --save "$tmp/saved.dat"
[ "$(run --set EditZeit=12:00)" = "$(cat "$tmp/saved.dat")" ] || fail "--save differs"

# a location in the western hemisphere: negative time zone without a plus sign
out=$(run --location "New York")
grep -q $'timezone: UTC \t-5.0 h$' <<< "$(sed -n 4p <<< "$out")" || fail "negative time zone"
echo "table_stdout: ok"
