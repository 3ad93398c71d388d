#!/usr/bin/env bash
# What a user can rely on from the command line: no file is lost or overwritten by a run that
# fails, no input makes it hang, and no failure passes for success.
set -uo pipefail
umbrix="$1"
src="$2"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
cd "$tmp" || exit 1
fail() { echo "FAIL: $*"; exit 1; }
printf '7.85\t48.00\t1.0\t278\tFreiburg\n' > loc.lst
# every run is bounded in time: a reader that blocks fails the test instead of hanging it
run() { timeout 60 "$umbrix" --locations loc.lst --now "21.6.2026 9:00" "$@"; }
cp "$src/examples/summer_days.txt" days.txt
cols=(--columns date,time,Ta,RH,v,G --set ChkUeberschriften=1)
printf '# Umbrix obstacle file #\r\nl 12.00 -3.50 10.00 3.00 4.00 0.30 0.30 0.95\r\n' > yard.obs
cp "$src/tests/data/ring45.bmp" ring.bmp
mkfifo pipe
printf '' > empty.txt
printf '1 2 3\n' > short.txt
printf '\xff\xfe#\x00 \x00U\x00' > utf16.obs
printf '\x01\x02\x03\x00\x7f\n\x00\x00\n' > binary.obs
printf '\xff\xfe7\x00.\x00' > utf16.lst
printf '[FormGeodat]\nEditTa=1e308\n' > huge.ini
printf '[FormGeodat]\nEditDat=31.2.2026\n' > feb31.ini
printf '[Other]\nEditTa=25\n' > other.ini
printf 'a.ini' > a.ini  # not a session either
ln -s days.txt link.txt
snapshot() { md5sum days.txt loc.lst yard.obs ring.bmp; }
before=$(snapshot)

# ---- failures: status 1, one line on standard error naming the cause -----------------------
# PATTERN | ARGUMENTS (as the shell reads them)
while IFS='|' read -r pattern args; do
  [ -z "$pattern" ] && continue
  eval "set -- $args"
  run "$@" > out 2> err
  rc=$?
  [ $rc -eq 1 ] || fail "$args: status $rc"
  tail -1 err | grep -q -- "$pattern" || fail "$args: '$pattern' not in: $(cat err)"
done <<'CASES'
is the file of --datafile|--datafile days.txt "${cols[@]}" --output days.txt
is the file of --datafile|--datafile days.txt "${cols[@]}" --output link.txt
is the file of --locations|--output loc.lst
is the file of --obstacles|--obstacles yard.obs --mode shadows --save yard.obs
is the file of --horizon|--horizon ring.bmp --fisheye ring.bmp
"pipe": not a regular file|--session pipe
"pipe": not a regular file|--obstacles pipe
"pipe": not a regular file|--horizon pipe
"pipe": not a regular file|--topography pipe
"pipe": not a regular file|--datafile pipe "${cols[@]}"
"/dev/zero": not a regular file|--topography /dev/zero
"/dev/zero": not a regular file|--datafile /dev/zero
"\.": Is a directory|--datafile .
no usable location in pipe|--locations pipe
EditTa "1e308" is out of range|--session huge.ini
EditDat "31.2.2026" is not a valid date|--session feb31.ini
"other.ini": it is not a session file|--session other.ini
"a.ini": it is not a session file|--session a.ini
no usable location in empty.txt|--locations empty.txt
no usable location in utf16.lst|--locations utf16.lst
no usable location in none.lst|--locations none.lst
cannot be stored: its name holds a tab|--set "ComboOrt=Old	Town" --set EditLg=8 --set EditBr=48 --set ButtonOrtHinzu=1
"utf16.obs": it is in UTF-16|--obstacles utf16.obs
"binary.obs" as an obstacle file: it holds no obstacle lines|--obstacles binary.obs
empty.txt holds no heights|--topography empty.txt
short.txt is too short|--topography short.txt
does not contain the location|--set EditX0=-500 --set EditZ0=102 --topography "$src/examples/valley.txt"
there must be a "date" or "day of year" parameter column|--mode daily --datafile days.txt --columns Ta --set ChkUeberschriften=1
name must end in .svg, .png or .bmp|--mode polar --save sun.gif
--output b.txt comes after the --new|--output a.txt --new --output b.txt --add
EditTa): "1e308" is outside the range|--set EditTa=1e308
SaveAs1|--output session_here.txt --set SaveAs1=1
cannot create "no/such/x.txt": No such file or directory|--output no/such/x.txt
CASES
[ "$(snapshot)" = "$before" ] || fail "an input file changed"
for f in a.txt b.txt sun.gif session_here.txt; do [ ! -e "$f" ] || fail "$f was written"; done

# ---- a full disk or a closed output is an error ---------------------------------------------
run > /dev/full 2> err
[ $? -eq 1 ] || fail "/dev/full: status"
grep -q 'standard output: No space left on device' err || fail "/dev/full: $(cat err)"

# ---- an earlier output file stays whole until the new table has a row --------------------------
run --output k.txt > /dev/null || fail "k.txt: status"
cp k.txt k.before
run --output k.txt --set EditDefVal=abc > /dev/null 2>&1 && fail "EditDefVal=abc: status 0"
cmp -s k.txt k.before || fail "a failing setting truncated the earlier output"
printf 'labels\nx 1 2 3 4 5\n' > bad.txt
run --output k.txt --datafile bad.txt "${cols[@]}" > /dev/null 2>&1 && fail "bad.txt: status 0"
cmp -s k.txt k.before || fail "a data file failing at its first record cost the earlier output"
# temporary files of crashed runs do not block a save, and those of ended processes go away
for i in $(seq 0 99); do printf 'stale' > "k.txt.~tmp$i"; done
gone=$(sh -c 'echo $$')
printf 'stale' > "k.txt.~tmp$gone-0badcafe"
run --set EditTa=30 --output k.txt > /dev/null || fail "save beside 100 stale temporary files"
grep -q $'\t30.0\t' k.txt || fail "k.txt was not replaced"
[ ! -e "k.txt.~tmp$gone-0badcafe" ] || fail "a stale temporary file of an ended run stayed"
[ "$(ls | grep -c '~tmp')" -eq 100 ] || fail "temporary files left: $(ls | grep '~tmp' | head -3)"

# ---- a line that cannot be read keeps every record before it -----------------------------------
{ head -3 days.txt; head -c 70000 /dev/zero | tr '\0' 'x'; echo; sed -n 4,5p days.txt; } > long.txt
run --datafile long.txt "${cols[@]}" > out 2> err
[ $? -eq 1 ] || fail "long line: status"
grep -q 'line 4 is longer than 65536 characters' err || fail "long line: $(cat err)"
[ "$(wc -l < out)" -eq $((5 + 2)) ] || fail "long line: the records before it are lost"

# ---- the locations list: marks, comments and unreadable lines ----------------------------------
printf '\xef\xbb\xbf# places\n7.85\t48.00\t1.0\t278\tFreiburg\n13.40\t52.5\nOslo\n' > marked.lst
run --locations marked.lst --set ComboOrt=Home --set EditLg=8.5 --set EditBr=47.5 \
    --set ButtonOrtHinzu=1 > /dev/null 2> err || fail "add after unreadable lines: $(cat err)"
grep -q 'marked.lst, line 3: skipped' err || fail "line 3 not reported: $(cat err)"
grep -q 'marked.lst, line 4: skipped' err || fail "line 4 not reported: $(cat err)"
run --locations marked.lst --location Home 2> /dev/null | grep -q '47°30' \
  || fail "a location added after an unreadable line cannot be chosen"
run --locations marked.lst --location Freiburg > /dev/null 2>&1 || fail "the marked first line"
run --locations empty.txt --set EditLg=8 --set EditBr=48 > /dev/null 2>&1 \
  || fail "coordinates given with --set need no list"

# ---- what is written is what its name says; a -0.0 is 0.0 ----------------------------------------
run --mode polar --save sun.png > /dev/null || fail "--save sun.png"
[ "$(head -c 8 sun.png | od -An -tx1 | tr -d ' ')" = "89504e470d0a1a0a" ] || fail "sun.png is no PNG"
printf '1.7.2025\t12:00\t-0.04\t50\t1\t800\n' > cold.txt
row=$(run --datafile cold.txt --columns date,time,Ta,RH,v,G | tail -1)
grep -q -- '-0\.0' <<< "$row" && fail "-0.0 in the table: $row"
printf '\xef\xbb\xbf' > marked_valley.txt; cat "$src/examples/valley.txt" >> marked_valley.txt
run --set EditZ0=102 --topography marked_valley.txt > /dev/null 2> err \
  || fail "a topography file with a byte-order mark: $(cat err)"
echo "reliability: ok"
