#!/usr/bin/env python3
"""Writes examples/valley.txt: a 41 x 41 topography grid (50 m apart, 2 km square) of a valley
running north-south. The floor lies at 100 m; the flanks rise smoothly to ridges 450 m high,
700 m east and west of the middle column, so that a location on the floor at x0 = y0 = 1000 m
sees the terrain up to about 30 degrees above the eastern and western horizon and an open
horizon to the north and south.

Usage: python3 scripts/make_topography.py [OUTPUT]   (default examples/valley.txt)
One height per line, row by row from north to south, west to east within a row.
"""
import math
import sys

SIZE = 41
SPACING = 50.0  # m
FLOOR = 100.0  # m
RISE = 350.0  # m from the floor to the ridges
RIDGE = 700.0  # m from the valley's axis


def height(i: int, j: int) -> float:
    d = min(abs(i * SPACING - 1000.0), RIDGE)
    return FLOOR + RISE * (1.0 - math.cos(math.pi * d / RIDGE)) / 2.0


def main() -> None:
    out = sys.argv[1] if len(sys.argv) > 1 else "examples/valley.txt"
    with open(out, "w", newline="\n") as f:
        for j in range(SIZE):
            for i in range(SIZE):
                f.write(f"{height(i, j):6.2f}\n")


if __name__ == "__main__":
    main()
