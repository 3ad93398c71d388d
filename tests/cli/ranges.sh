#!/usr/bin/env bash
# Physical ranges from the command line: a value outside its range typed with --set ends the
# command with the field's range; a data-file row outside its range carries the missing value
# and one note follows the run. The earlier Tmrt stays selectable.
set -uo pipefail
umbrix="$1"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
printf '8.55\t49.52\t1.0\t96\tHeidelberg\n' > "$tmp/loc.lst"
run() { "$umbrix" --locations "$tmp/loc.lst" --now "21.12.2026 9:00" "$@"; }
fail() { echo "FAIL: $*"; exit 1; }
column() {  # column NAME TABLE: the value in the first row (names on line 7)
  local i
  i=$(printf '%s\n' "$2" | sed -n 7p | tr '\t' '\n' | grep -n "^$1\$" | cut -d: -f1)
  printf '%s\n' "$2" | sed -n 9p | cut -f"$i"
}

refused() {  # refused MESSAGE ARGS...: status 1 and the one line
  local message="$1"; shift
  run "$@" > "$tmp/out" 2> "$tmp/err"
  [ $? -eq 1 ] || fail "$*: status"
  [ "$(cat "$tmp/err")" = "umbrix: error: $message" ] || fail "$*: $(cat "$tmp/err")"
}
refused 'Relative humidity RH (EditRh): "150" is outside the range 0 to 100 %; the field keeps "53.5"' \
  --set EditRh=150
# a real zone east of the date line is no longer wrapped to -10
out=$(run --set EditZz=14) || fail "time zone 14: status"
printf '%s\n' "$out" | sed -n 4p | grep -q $'UTC \t+14.0 h$' || fail "time zone 14"

# the winter sun: Tmrt from the beam, and the earlier value with TmrtHorizontalChk
winter=(--set EditDat=21.12.2026 --set EditZeit=12:30 --set EditTa=0 --set EditRh=80
        --set EditWG=1 --set EditN=0)
out=$(run "${winter[@]}") || fail "winter: status"
[ "$(column Tmrt "$out")" = "33.4" ] || fail "winter Tmrt: $(column Tmrt "$out")"
[ "$(column RH "$out")" = "80.0" ] || fail "winter RH: $(column RH "$out")"
out=$(run "${winter[@]}" --set TmrtHorizontalChk=1) || fail "earlier Tmrt: status"
[ "$(column Tmrt "$out")" = "9.9" ] || fail "earlier Tmrt: $(column Tmrt "$out")"

# a data file: the row with RH 150 is missing, the run goes on, one note at the end
printf '21.12.2026\t12:00\t0\t80\t1\t0\t200\t300\n21.12.2026\t13:00\t0\t150\t1\t0\t200\t300\n' \
  > "$tmp/data.txt"
cols=(--datafile "$tmp/data.txt" --columns date,time,Ta,RH,v,N,D,G)
run "${cols[@]}" > "$tmp/out" 2> "$tmp/err" || fail "data file: status $?"
[ "$(sed -n 6p "$tmp/out" | grep -c '9999.0')" -eq 0 ] || fail "data file: first row missing"
[ "$(sed -n 7p "$tmp/out" | grep -o '9999.0' | wc -l)" -ge 10 ] || fail "data file: second row"
grep -q '^umbrix: 1 row of the data file held a value outside its physical range' "$tmp/err" ||
  fail "data file note: $(cat "$tmp/err")"
grep -q '^line 2, column 4 (RH): Relative humidity RH: "150" is outside' "$tmp/err" ||
  fail "data file note: $(cat "$tmp/err")"
echo "ranges: ok"
