"""Reads a tsv and a csv table as an analyst would, and checks what pandas makes of them.

Usage: read_tables.py TSV CSV. Both files hold the same table (written by the table-format
test): metadata comment lines, one header line, then the rows. Exits 0 when every check holds,
1 naming the first that does not.
"""
import math
import sys

import pandas as pd

EXPECTED_COLUMNS = ["date", "time", "Ta [\u00b0C]", "SVF_Umb", "SDmax [min]", "place"]


def check(table, name):
    def fail(what):
        sys.exit(f"{name}: {what}\n{table}\n{table.dtypes}")

    if list(table.columns) != EXPECTED_COLUMNS:
        fail(f"columns {list(table.columns)}")
    if len(table) != 3:
        fail(f"{len(table)} rows")
    for column in ("Ta [\u00b0C]", "SVF_Umb"):
        if table[column].dtype != "float64":
            fail(f"{column} is {table[column].dtype}")
    if table["SDmax [min]"].dtype != "int64":
        fail(f"SDmax is {table['SDmax [min]'].dtype}")
    ta = table["Ta [\u00b0C]"]
    if ta[0] != 21.5 or not math.isnan(ta[1]) or not math.isnan(ta[2]):
        fail(f"Ta {list(ta)}")
    places = ["Freiburg, Wiehre", 'say "hi" #1', "tab here"]
    if list(table["place"]) != places:
        fail(f"place {list(table['place'])}")
    dates = pd.to_datetime(table["date"] + " " + table["time"], format="%Y-%m-%d %H:%M")
    if str(dates[1]) != "2024-02-29 23:30:00":
        fail(f"date and time {list(dates)}")


check(pd.read_csv(sys.argv[1], comment="#", sep="\t"), "tsv")
check(pd.read_csv(sys.argv[2], comment="#"), "csv")
print("pandas read both tables")
