#!/usr/bin/env bash
# --lang de prints the German vocabulary.
set -euo pipefail
umbrix="$1"
out=$("$umbrix" --now "21.6.2026 9:00" --lang de)
fail() { echo "FAIL: $*"; printf '%s\n' "$out"; exit 1; }
grep -q $'^Standort: \t' <<< "$out" || fail "place line"
grep -q $'^Geogr. L\xc3\xa4nge: \t.*\tBreite: \t.*\tZeitzone: UTC \t' <<< "$out" || fail "coordinates"
grep -q $'^Horizonteinschr\xc3\xa4nkung: \t' <<< "$out" || fail "horizon line"
names=$(printf '%s\n' "$out" | sed -n 7p)
[ "$(printf '%s' "$names" | cut -f1-7)" = "$(printf 'Datum     \tTag d.\tZeit\tSA\tSU\tSDmax\tSDtat')" ] || fail "names: $names"
grep -q $'\tGtat\tStat\tDtat\tA\tE\tTo\tTa\t' <<< "$names" || fail "radiation names"
grep -q $'\tGr\xc3\xb6\xc3\x9fe\tGewicht\tAlter\tGeschl.\tKleid.\tAktiv.\t' <<< "$names" || fail "personal names"
[ "$(printf '%s\n' "$out" | sed -n 8p | cut -f2)" = "Jahres" ] || fail "unit of the day"
echo "lang_de: ok"
