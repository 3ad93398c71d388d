#!/usr/bin/python3
"""Converts an EPW weather file into a data file for chart previews (not part of the program):
date, time (middle of the hour), Ta, RH, v at 1.1 m, N in octas, G. Missing codes become 9999."""
import math
import sys

src, dst = sys.argv[1], sys.argv[2]
wind = math.log(1.1 / 0.01) / math.log(10 / 0.01)  # logarithmic profile, z0 = 0.01 m
with open(src, encoding="latin-1") as f, open(dst, "w") as out:
    for i, line in enumerate(f):
        if i < 8:
            continue
        v = line.strip().split(",")
        year, month, day, hour = (int(x) for x in v[0:4])
        ta = float(v[6]); rh = float(v[8]); g = float(v[13]); ws = float(v[21]); cover = float(v[22])
        ta = 9999 if ta >= 99.9 else ta
        rh = 9999 if rh >= 999 else rh
        g = 9999 if g >= 9999 else g
        ws = 9999 if ws >= 999 else ws * wind
        n = 9999 if cover >= 99 else cover * 0.8
        out.write(f"{day}.{month}.2005\t{hour - 1}:30\t{ta:.1f}\t{rh:.0f}\t{ws:.2f}\t{n:.1f}\t{g:.0f}\n")
