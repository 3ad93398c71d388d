#!/usr/bin/env bash
# Weather files from the command line: an EPW file gives the same rows as its values converted
# by hand into a data file; its header's place goes into the table.
set -uo pipefail
umbrix="$1"
src=$(cd "$2" && pwd)
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
printf '7.85\t48.00\t1.0\t278\tFreiburg\n' > "$tmp/loc.lst"
run() { "$umbrix" --locations "$tmp/loc.lst" --now "21.6.2026 9:00" "$@"; }
fail() { echo "FAIL: $*"; exit 1; }
py=/usr/bin/python3

# three days around a leap day, each hour with its own values; a few missing codes
"$py" - "$tmp" <<'PY'
import math, struct, sys
tmp = sys.argv[1]
f32 = lambda x: struct.unpack('f', struct.pack('f', x))[0]
epw = ["LOCATION,Testville,BW,DEU,hand,000000,49.5,8.5,1.0,96.4",
       "DESIGN CONDITIONS,0", "TYPICAL/EXTREME PERIODS,0", "GROUND TEMPERATURES,0",
       "HOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0", "COMMENTS 1,", "COMMENTS 2,",
       "DATA PERIODS,1,1,Data,Wednesday, 2/28, 3/ 1"]
data = []
for day, (m, d) in enumerate([(2, 28), (2, 29), (3, 1)]):
    for h in range(1, 25):
        ta = round(-3 + 0.5 * h + day, 1)
        rh = 60 + h
        v10 = 0.5 + 0.25 * ((h + day) % 12)
        tenths = (h + 3 * day) % 11
        sun = max(0.0, math.sin(math.pi * (h - 7.5) / 11)) if 8 <= h <= 18 else 0.0
        g = round(420 * sun)
        dd = round(0.4 * g)
        f = ["2024", str(m), str(d), str(h), "60", "?9?9", str(ta), "0.0", str(rh), "100200",
             "0", "0", "300", str(g), "0", str(dd), "0", "0", "0", "0", "180", str(v10),
             str(tenths), str(tenths), "10", "999", "9", "999999999", "0", "0", "0", "0", "0",
             "0", "0"]
        miss = set()
        if day == 1 and h == 12: f[6] = "99.9"; miss.add("Ta")
        if day == 1 and h == 13: f[8] = "999"; miss.add("RH")
        if day == 2 and h == 10: f[13] = "9999"; miss.add("G")
        if day == 2 and h == 11: f[21] = "999"; miss.add("v")
        if day == 2 and h == 12: f[22] = "99"; miss.add("N")
        epw.append(",".join(f))
        v = f32(v10 / (math.log10(1000.0) / math.log10(110.0)))
        n = f32(tenths * 0.8)
        val = lambda k, x: "9999" if k in miss else repr(x)
        data.append("\t".join([f"{d}.{m}.2024", f"{h - 1}:30", val("Ta", ta), val("RH", rh),
                               val("v", v), val("N", n), str(dd), val("G", g)]))
open(f"{tmp}/three.epw", "w").write("\r\n".join(epw) + "\r\n")
open(f"{tmp}/three.txt", "w").write("\n".join(data) + "\n")
PY

cols=(--set Sunelevationangle1=1 --set Gtat1=1 --set Stat1=1 --set Dtat1=1 --set N1=1 --set V1=1
      --set Rh1=1 --set Ta1=1 --set Tmrt1=1)
run --epw "$tmp/three.epw" "${cols[@]}" --output "$tmp/epw_out.txt" || fail "--epw: status $?"
run --datafile "$tmp/three.txt" --columns date,time,Ta,RH,v,N,D,G "${cols[@]}" \
  --set EditLg=8.5 --set EditBr=49.5 --set EditZz=1 --set EditNn=96 --output "$tmp/txt_out.txt" \
  || fail "--datafile: status $?"
# the rows are the same; the EPW table names its place
diff <(tail -n +9 "$tmp/epw_out.txt") <(tail -n +6 "$tmp/txt_out.txt") > "$tmp/diff" \
  || fail "EPW rows differ from the converted data file: $(head -5 "$tmp/diff")"
[ "$(tail -n +9 "$tmp/epw_out.txt" | wc -l)" -eq 72 ] || fail "EPW rows: 72 expected"
sed -n 3p "$tmp/epw_out.txt" | grep -q 'Testville' || fail "place line: $(sed -n 3p "$tmp/epw_out.txt")"
sed -n 4p "$tmp/epw_out.txt" | grep -q "8°30'.*49°30'.*+1.0 h" || fail "coordinates line"
# the leap day is there, at the middle of the hour
grep -q $'^29.2.2024 \t60\t12:30' "$tmp/epw_out.txt" || fail "29 February 12:30 row"
# the end of the hour: hour 24 is midnight of its own date
run --epw "$tmp/three.epw" --set ComboEpwTime="end of hour" "${cols[@]}" > "$tmp/end.txt" \
  || fail "end of hour: status"
grep -q $'^28.2.2024 \t59\t1:00' "$tmp/end.txt" || fail "end of hour: first row"
grep -q $'^1.3.2024 \t61\t0:00' "$tmp/end.txt" || fail "end of hour: hour 24"

# tsv and csv: what pandas reads from a run, with the right types and NaN where values miss
run --epw "$tmp/three.epw" "${cols[@]}" --format csv --output "$tmp/three.csv" || fail "csv: status"
run --epw "$tmp/three.epw" "${cols[@]}" --format tsv --output "$tmp/three.tsv" || fail "tsv: status"
"$py" - "$tmp/three.csv" "$tmp/three.tsv" <<'PY' || fail "pandas read-back"
import math, sys
import pandas as pd
for path, sep in ((sys.argv[1], ","), (sys.argv[2], "\t")):
    t = pd.read_csv(path, comment="#", sep=sep)
    assert len(t) == 72, len(t)
    assert not [c for c in t.columns if c.startswith("Unnamed")], list(t.columns)
    for c in ("Ta [\u00b0C]", "Tmrt [\u00b0C]", "UTCI [\u00b0C]", "Gact [W/m\u00b2]"):
        assert t[c].dtype == "float64", (c, t[c].dtype)
    assert t["day of year"].dtype == "int64", t["day of year"].dtype
    row = t[(t["date"] == "2024-02-29") & (t["time"] == "11:30")].iloc[0]
    assert math.isnan(row["Ta [\u00b0C]"]) and math.isnan(row["UTCI [\u00b0C]"]), row
    first = t.iloc[0]
    assert first["Ta [\u00b0C]"] == -2.5 and first["time"] == "00:30", first
PY
grep -q '^# place: Testville' "$tmp/three.csv" || fail "csv metadata: $(head -3 "$tmp/three.csv")"

# --summary: hours per class add up to the rows with a value; the missing rows are counted
run --epw "$tmp/three.epw" --summary "$tmp/sum.csv" --output "$tmp/s.txt" || fail "summary: status"
"$py" - "$tmp/sum.csv" "$tmp/s.txt" <<'PY' || fail "summary"
import sys
import pandas as pd
s = pd.read_csv(sys.argv[1], keep_default_na=False)
utci = s[(s.quantity == "UTCI") & (s.period == "all")]
hours = utci[~utci.item.isin(["missing", "min", "mean", "max"])].value.astype(float).sum()
missing = float(utci[utci.item == "missing"].value.iloc[0])
rows = sum(1 for line in open(sys.argv[2]) if line[:1].isdigit())
table_missing = sum(1 for line in open(sys.argv[2]) if line[:1].isdigit() and line.split("\t")[-4] == "9999.0")
assert rows == 72 and hours + missing == 72, (rows, hours, missing)
assert missing == table_missing, (missing, table_missing)
assert s[(s.quantity == "Ta") & (s.period == "all") & (s.item == "missing")].value.astype(float).iloc[0] == 1
PY

# ten-minute rows stand for 1/6 h each in the summary
"$py" - "$tmp/ten.txt" <<'PY'
import sys
with open(sys.argv[1], "w") as f:
    for k in range(36):
        f.write("1.7.2024\t%d:%02d\t25.0\t50\t1.0\t600\n" % (10 + k // 6, 10 * (k % 6)))
PY
run --datafile "$tmp/ten.txt" --columns date,time,Ta,RH,v,G --summary "$tmp/ten.csv" --output "$tmp/ten.out" \
  || fail "ten-minute summary: status"
"$py" - "$tmp/ten.csv" <<'PY' || fail "ten-minute summary"
import sys
import pandas as pd
s = pd.read_csv(sys.argv[1], keep_default_na=False)
utci = s[(s.quantity == "UTCI") & (s.period == "all") & ~s.item.isin(["missing", "min", "mean", "max"])]
assert abs(utci.value.astype(float).sum() - 6.0) < 1e-9, utci
PY

# progress: one updating line on a terminal, nothing otherwise or with --quiet
run --epw "$tmp/three.epw" --output "$tmp/p.txt" 2> "$tmp/err" || fail "progress: status"
[ ! -s "$tmp/err" ] || fail "progress without a terminal: $(cat "$tmp/err")"
if command -v script > /dev/null; then
    tty_run() { script -qec "$(printf '%q ' "$umbrix" --locations "$tmp/loc.lst" "$@")" /dev/null; }
    tty_run --epw "$tmp/three.epw" --output "$tmp/p.txt" > "$tmp/tty" < /dev/null
    grep -q 'rows, [0-9]* %, [0-9]* rows/s' "$tmp/tty" || fail "no progress line: $(cat -A "$tmp/tty")"
    tty_run --quiet --epw "$tmp/three.epw" --output "$tmp/p.txt" > "$tmp/tty" < /dev/null
    ! grep -q 'rows/s' "$tmp/tty" || fail "--quiet showed progress"
fi

# --columns auto: the labels line gives the columns; a .csv file reads with "," and a decimal point
example="$src/examples/summer_days.txt"
run --datafile "$example" --columns date,time,Ta,RH,v,G --set ChkUeberschriften=1 > "$tmp/by_hand.txt" \
  || fail "by hand: status"
run --datafile "$example" --columns auto > "$tmp/auto.txt" || fail "auto: status $?"
cmp -s "$tmp/by_hand.txt" "$tmp/auto.txt" || fail "--columns auto differs from the list by hand"
tr '\t' ',' < "$example" > "$tmp/days.csv"
run --datafile "$tmp/days.csv" --columns auto > "$tmp/csv.txt" || fail "csv: status $?"
cmp -s "$tmp/by_hand.txt" "$tmp/csv.txt" || fail ".csv run differs"
# unknown labels are named
{ printf 'date,time,Temp,RH,wind,G\n'; tail -n +2 "$tmp/days.csv"; } > "$tmp/bad.csv"
run --datafile "$tmp/bad.csv" --columns auto > /dev/null 2> "$tmp/err" && fail "unknown labels ran"
grep -q 'Temp' "$tmp/err" && grep -q 'wind' "$tmp/err" || fail "unknown labels: $(cat "$tmp/err")"

# the README's pandas snippet works as shown, on the table of the command before it
readme="$src/README.md"
(cd "$tmp" && cp -r "$src/examples" . && run --location Freiburg --datafile examples/summer_days.txt \
  --columns auto --set UTCIclass1=1 --format csv --output days.csv) || fail "README csv run"
grep -q -- '--set UTCIclass1=1 --format csv --output days.csv' "$readme" || fail "README command"
awk '/^```python$/{on=1; next} /^```$/{if (on) exit} on' "$readme" > "$tmp/snippet.py"
grep -q 'read_csv("days.csv", comment="#")' "$tmp/snippet.py" || fail "README snippet not found"
(cd "$tmp" && "$py" snippet.py > snippet.out) || fail "README snippet: $(cat "$tmp/snippet.out")"
grep -q '^mean UTCI: [0-9]' "$tmp/snippet.out" || fail "snippet output: $(cat "$tmp/snippet.out")"
exit 0
