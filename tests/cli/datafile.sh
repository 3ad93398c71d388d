#!/usr/bin/env bash
# Data-file runs from the command line: the bundled example, the output file that streams,
# a line that cannot be read, the column choice, and the daily course.
set -uo pipefail
umbrix="$1"
src="$2"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
printf '7.85\t48.00\t1.0\t278\tFreiburg\n' > "$tmp/loc.lst"
run() { "$umbrix" --locations "$tmp/loc.lst" --now "21.6.2026 9:00" "$@"; }
fail() { echo "FAIL: $*"; exit 1; }
example="$src/examples/summer_days.txt"
cols=(--columns date,time,Ta,RH,v,G --set ChkUeberschriften=1)

# the example: a header without the location lines, then one row per line of the file
out=$(run --datafile "$example" "${cols[@]}") || fail "example: status $?"
lines=$(grep -c . "$example")
[ "$(printf '%s\n' "$out" | wc -l)" -eq $((5 + lines - 1)) ] || fail "example: row count"
row=$(printf '%s\n' "$out" | sed -n 18p)   # 1 July, 12:00
[ "$(printf '%s' "$row" | cut -f1-3)" = "$(printf '1.7.2025 \t182\t12:00')" ] || fail "row: $row"
ta=$(sed -n 14p "$example" | cut -f3)
names=$(printf '%s\n' "$out" | sed -n 4p)
col=$(printf '%s' "$names" | tr '\t' '\n' | grep -n '^Ta$' | cut -d: -f1)
[ "$(printf '%s' "$row" | cut -f"$col")" = "$ta" ] || fail "Ta of the row"

# --output streams to the file; the table is the same
run --datafile "$example" "${cols[@]}" --output "$tmp/days.txt" > "$tmp/stdout" || fail "--output"
[ ! -s "$tmp/stdout" ] || fail "--output printed to stdout"
[ "$(cat "$tmp/days.txt")" = "$out" ] || fail "--output differs from stdout"

# a line with a field too few: the rows before stay, one line on stderr, status 1
{ head -4 "$example"; sed -n 5p "$example" | cut -f1-5; sed -n 6p "$example"; } > "$tmp/short.txt"
run --datafile "$tmp/short.txt" "${cols[@]}" --output "$tmp/short_out.txt" 2> "$tmp/err"
[ $? -eq 1 ] || fail "short line: status"
[ "$(wc -l < "$tmp/err")" -eq 1 ] || fail "short line: $(cat "$tmp/err")"
grep -q '^umbrix: error: data file short.txt, line 5: 5 fields where the checked columns need 6$' \
  "$tmp/err" || fail "short line message: $(cat "$tmp/err")"
[ "$(wc -l < "$tmp/short_out.txt")" -eq $((5 + 3)) ] || fail "short line: rows before lost"

# an unreadable value names line, column and text
printf '1.7.2025 12:00 2O.5 40 1 800\n' > "$tmp/bad.txt"
run --datafile "$tmp/bad.txt" --columns date,time,Ta,RH,v,G > /dev/null 2> "$tmp/err"
[ $? -eq 1 ] || fail "bad value: status"
grep -q 'line 1, column 3 (Ta): cannot read "2O.5"' "$tmp/err" || fail "bad value: $(cat "$tmp/err")"

# a .csv file reads with ","; an empty field is a missing value
printf '1.7.2025,12:00,25,,1,800\n' > "$tmp/w.csv"
out=$(run --datafile "$tmp/w.csv" --columns date,time,Ta,RH,v,G) || fail "csv: status"
printf '%s\n' "$out" | sed -n 6p | grep -q $'\t9999.0\t' || fail "csv: missing RH"

# the column choice refuses what the list cannot hold
run --datafile "$example" --columns date,Temp > /dev/null 2> "$tmp/err"
grep -q 'unknown column "Temp"' "$tmp/err" || fail "--columns unknown: $(cat "$tmp/err")"
run --datafile "$example" --columns RH,Ta > /dev/null 2> "$tmp/err"
grep -q '"Ta" must come before "RH"' "$tmp/err" || fail "--columns order: $(cat "$tmp/err")"

# the daily course: 365 days without a data file, one row per record with one
[ "$(run --mode daily | wc -l)" -eq $((8 + 365)) ] || fail "daily: 365 rows"
out=$(run --mode daily --datafile "$example" "${cols[@]}") || fail "daily with data"
[ "$(printf '%s\n' "$out" | wc -l)" -eq $((5 + lines - 1)) ] || fail "daily with data: rows"
# the daily course never fills the output file, so --output must not swallow its table
run --mode daily --datafile "$example" "${cols[@]}" --output "$tmp/daily.txt" > "$tmp/stdout" \
  2> "$tmp/err" || fail "daily --output: status"
[ "$(cat "$tmp/stdout")" = "$out" ] || fail "daily --output: table lost"
[ ! -e "$tmp/daily.txt" ] || fail "daily --output: wrote the output file"
grep -q 'not written to the --output file' "$tmp/err" || fail "daily --output: $(cat "$tmp/err")"

# memory stays flat however long the data file is (not measurable under a sanitizer)
if [ -x /usr/bin/time ] && [ -z "${UMBRIX_SANITIZED:-}" ]; then
  awk 'BEGIN { for (i = 0; i < 40000; i++) printf "%d:%02d\t%.1f\t50\n", (i / 60) % 24, i % 60, 15 + (i % 100) / 10 }' > "$tmp/long.txt"
  head -2000 "$tmp/long.txt" > "$tmp/short2.txt"
  quick=(--columns time,Ta,RH --set PmvChk=0 --set PetChk=0 --set SetChk=0 --set UtciChk=0
         --set PtChK=0 --set mPETChK=0)
  small=$( { /usr/bin/time -f '%M' "$umbrix" --locations "$tmp/loc.lst" --datafile "$tmp/short2.txt" \
             "${quick[@]}" --output "$tmp/o1.txt" ; } 2>&1 | tail -1)
  large=$( { /usr/bin/time -f '%M' "$umbrix" --locations "$tmp/loc.lst" --datafile "$tmp/long.txt" \
             "${quick[@]}" --output "$tmp/o2.txt" ; } 2>&1 | tail -1)
  [ "$(wc -l < "$tmp/o2.txt")" -eq 40005 ] || fail "long file: rows"
  [ $((large - small)) -lt 2048 ] || fail "memory grows with the file: $small KB vs $large KB"
fi
echo "datafile: ok"
