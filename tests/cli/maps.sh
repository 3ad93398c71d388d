#!/usr/bin/env bash
# --mode map: the GeoTIFF as gdalinfo reads it (bands, units, nodata, the plan frame, and
# north up when georeferenced), a cell against the point calculation with the obstacles moved
# so that the location of calculation lies at the cell centre, the other formats, and bad input.
set -uo pipefail
umbrix="$1"
src="$2"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
command -v gdalinfo > /dev/null || fail "gdalinfo is missing (Debian gdal-bin)"
weather=(--location Freiburg --set EditDat=21.6.2026 --set EditZeit=15:00 --set EditTa=30
         --set EditRh=45 --set EditWG=1.2)
map() { "$umbrix" "${weather[@]}" --obstacles "$src/examples/courtyard.obs" --mode map "$@"; }

# the plan's frame at 1 m, three bands with descriptions and units, NaN as nodata
map --time 15:00 --map-quantity SVF,Tmrt,UTCI --save "$tmp/plan.tif" 2> "$tmp/err" ||
  fail "plan: status $?: $(cat "$tmp/err")"
gdalinfo "$tmp/plan.tif" > "$tmp/info" || fail "gdalinfo cannot read the GeoTIFF"
for expected in 'Size is 36, 44' 'Origin = (-18.000000000000000,22.000000000000000)' \
    'Pixel Size = (1.000000000000000,-1.000000000000000)' 'Description = SVF: sky view factor' \
    'Description = Tmrt: mean radiant temperature (°C)' 'Unit Type: °C' 'LENGTHUNIT["metre",1' \
    'Description = UTCI: universal thermal climate index (°C)'; do
  grep -qF "$expected" "$tmp/info" || fail "gdalinfo lacks '$expected'"
done
[ "$(grep -c '^Band ' "$tmp/info")" -eq 3 ] || fail "not three bands"
[ "$(grep -c 'NoData Value=nan' "$tmp/info")" -eq 3 ] || fail "nodata is not NaN in each band"

# georeferenced: the location of calculation at E,N, north up and east right. The plan is not
# symmetric: at (15, -5) the court opens to the east, at (15, 5) stands the low building, at
# (-15, -5) the western one.
map --map-quantity Tmrt --map-crs EPSG:25832 --map-origin 413000,5318000 \
  --save "$tmp/geo.tif" || fail "georeferenced: status $?"
gdalinfo "$tmp/geo.tif" > "$tmp/info"
grep -qF 'ETRS89 / UTM zone 32N' "$tmp/info" || fail "no UTM zone 32N"
grep -qF 'Origin = (412982.000000000000000,5318022.000000000000000)' "$tmp/info" ||
  fail "origin: $(grep Origin "$tmp/info")"
at() { gdallocationinfo -valonly -geoloc "$tmp/geo.tif" $((413000 + $1)) $((5318000 + $2)); }
[ "$(at 15 5)" = nan ] || fail "(15, 5) lies in the low building: $(at 15 5)"
[ "$(at -15 -5)" = nan ] || fail "(-15, -5) lies in the western building: $(at -15 -5)"
awk -v t="$(at 15 -5)" 'BEGIN { exit !(t > 20 && t < 90) }' || fail "(15, -5): $(at 15 -5)"

# the cell around (2.5, -3.5) is the point calculation with the obstacles moved by (-2.5, 3.5)
awk -v dx=-2.5 -v dy=3.5 '
  $1 == "g" { printf "g"; for (i = 2; i <= NF; i++) { v = $i; k = i - 1
                if (k <= 24 && k % 3 == 1) v += dx; else if (k <= 24 && k % 3 == 2) v += dy
                printf " %.9g", v }
              printf "\r\n"; next }
  $1 == "l" || $1 == "n" { printf "%s %.9g %.9g", $1, $2 + dx, $3 + dy
                           for (i = 4; i <= NF; i++) printf " %s", $i; printf "\r\n"; next }
  { print }' "$src/examples/courtyard.obs" > "$tmp/moved.obs"
"$umbrix" "${weather[@]}" --obstacles "$tmp/moved.obs" --set PetChk=1 --set UtciChk=1 \
  > "$tmp/point" || fail "point: status $?"
map --time 15:00 --map-extent 2,-4,3,-3 --map-quantity SVF,SDact,Tmrt,PET,UTCI \
  --save "$tmp/cell.tif" || fail "cell: status $?"
column() {  # the value of column NAME in the point table's row
  awk -F'\t' -v name="$1" 'NR == 7 { for (i = 1; i <= NF; i++) if ($i == name) c = i }
                           NR == 9 { print $c }' "$tmp/point"
}
mapped=($(gdallocationinfo -valonly "$tmp/cell.tif" 0 0))
[ "${#mapped[@]}" -eq 5 ] || fail "cell: ${mapped[*]}"
i=0
for field in SVF_Umb:%.3f SDact:%.0f Tmrt:%.1f PET:%.1f UTCI:%.1f; do
  name=${field%%:*}
  got=$(printf "${field#*:}" "${mapped[$i]}")
  [ "$got" = "$(column "$name")" ] || fail "cell $name: map $got, point $(column "$name")"
  i=$((i + 1))
done

# over the rows of a data file the same cell has the mean and maximum of the point run's Tmrt
days=(--datafile "$src/examples/summer_days.txt" --columns date,time,Ta,RH,v,G
      --set ChkUeberschriften=1)
"$umbrix" "${weather[@]}" --obstacles "$tmp/moved.obs" "${days[@]}" > "$tmp/days" ||
  fail "data file point run: status $?"
map "${days[@]}" --map-extent 2,-4,3,-3 --map-quantity Tmrt_mean,Tmrt_max --save "$tmp/days.tif" ||
  fail "data file map: status $?"
mapped=($(gdallocationinfo -valonly "$tmp/days.tif" 0 0))
awk -F'\t' -v mean="${mapped[0]}" -v max="${mapped[1]}" '
  NR == 4 { for (i = 1; i <= NF; i++) if ($i == "Tmrt") c = i }
  NR > 5 { s += $c; n++; if ($c + 0 > m) m = $c + 0 }
  END { exit !(n == 96 && sprintf("%.1f", max) == sprintf("%.1f", m) && (s / n - mean) ^ 2 < 0.0025) }' \
  "$tmp/days" || fail "data file: map ${mapped[*]} against the point run"

# a day: hours in the sun per cell, between none and the day's length
map --map-cell 4 --map-range 0:00-24:00 --map-quantity sun_hours --save "$tmp/sun.asc" ||
  fail "day: status $?"
head -6 "$tmp/sun.asc" | tr '\n' ' ' | grep -q 'ncols 10 nrows 12 xllcorner -20 yllcorner -24 cellsize 4 NODATA_value -9999' ||
  fail "ASCII grid header: $(head -6 "$tmp/sun.asc")"
tail -n +7 "$tmp/sun.asc" | tr ' ' '\n' | awk '$1 != -9999 { n++; if ($1 < 0 || $1 > 16.3) bad = 1
                                                              if ($1 > 5) sunny = 1 }
  END { exit !(n > 20 && !bad && sunny) }' || fail "hours in the sun: $(cat "$tmp/sun.asc")"

# the pictures
map --map-cell 2 --map-quantity PET --save "$tmp/pet.svg" --save "$tmp/pet.png" ||
  fail "picture: status $?"
grep -q '<svg' "$tmp/pet.svg" && grep -q 'physiologically equivalent temperature' "$tmp/pet.svg" ||
  fail "SVG picture"
[ "$(head -c 8 "$tmp/pet.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || fail "PNG"

# bad input: one clear line, status 1, nothing written
expect_error() {  # PATTERN ARGS...
  local pattern="$1"; shift
  "$umbrix" "${weather[@]}" "$@" > "$tmp/out" 2> "$tmp/err"
  [ $? -eq 1 ] || fail "$*: status"
  grep -q "^umbrix: error: .*$pattern" "$tmp/err" || fail "$*: $(cat "$tmp/err")"
}
expect_error 'open an obstacle file' --mode map --save "$tmp/x.tif"
expect_error 'did you mean UTCI_max' --obstacles "$src/examples/courtyard.obs" --mode map \
  --map-quantity UTCI_maxx --save "$tmp/x.tif"
expect_error 'Tmrt is a value of one time' --obstacles "$src/examples/courtyard.obs" --mode map \
  --map-range 8:00-9:00 --map-quantity Tmrt --save "$tmp/x.tif"
expect_error 'one quantity' --obstacles "$src/examples/courtyard.obs" --mode map \
  --map-quantity SVF,Tmrt --save "$tmp/x.asc"
expect_error 'cell size' --mode map --map-cell 0
expect_error 'projected coordinate system' --obstacles "$src/examples/courtyard.obs" \
  --mode map --map-crs EPSG:4326 --map-origin 7,48 --save "$tmp/x.tif"
expect_error 'belong to --mode map' --map-cell 2
[ -e "$tmp/x.tif" ] || [ -e "$tmp/x.asc" ] && fail "a refused map left a file"

grep -q -- '--map-quantity' <<< "$("$umbrix" --help)" || fail "--help lacks --map-quantity"
echo "maps: ok"
