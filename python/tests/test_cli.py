"""The package gives the numbers of the command line's tables: the same rows through both,
compared at the precision the table prints."""
import numpy as np
import pandas as pd
import pytest

import umbrix
from conftest import FREIBURG, SOURCE

# half a unit of the last printed digit (a little more for the float rounding of the table)
TOLERANCE = {"SVF": 5e-4, "SVFcos": 5e-4, "sunrise": 1 / 120, "sunset": 1 / 120, "SDmax": 0,
             "SDact": 0, "doy": 0}
DEFAULT_TOLERANCE = 0.05


def assert_as_printed(table, values, column):
    """values (float64) agree with the table's printed column; NaN where it shows 9999.0."""
    printed = table[column].to_numpy(dtype=float)
    values = np.asarray(values, dtype=float)
    assert np.array_equal(np.isnan(printed), np.isnan(values)), column
    tol = TOLERANCE.get(column, DEFAULT_TOLERANCE) + 1e-6
    diff = np.abs(printed - values)[~np.isnan(printed)]
    assert np.all(diff <= tol), f"{column}: off by {diff.max()} (rows {np.flatnonzero(diff > tol)})"


def weather_rows(n, seed, with_tmrt):
    """Varied rows: days over the year, any hour, cold to hot, dry to saturated, calm to storm;
    the last two are a missing value (9999) and a value out of range."""
    rng = np.random.default_rng(seed)
    day = pd.Timestamp("2025-01-01") + pd.to_timedelta(rng.integers(0, 365, n), "D")
    hour = rng.integers(0, 24, n)
    minute = rng.choice([0, 15, 30, 45], n)
    rows = pd.DataFrame({
        "date": [f"{d.day}.{d.month}.{d.year}" for d in day],
        "time": [f"{h}:{m:02d}" for h, m in zip(hour, minute)],
        "Ta": np.round(rng.uniform(-30, 45, n), 1),
        "RH": np.round(rng.uniform(5, 100, n), 0),
        "v": np.round(rng.uniform(0.1, 15, n), 1),
        "N": rng.integers(0, 9, n),
    })
    if with_tmrt:
        rows["Tmrt"] = np.round(rows["Ta"] + rng.uniform(-20, 45, n), 1)
        rows = rows.drop(columns="N")
    rows.loc[n - 2, "Ta"] = 9999
    rows.loc[n - 1, "RH"] = 140
    return rows


def frame(rows):
    """The rows as compute() takes them: datetimes, NaN for the missing value."""
    df = rows.replace(9999, np.nan)
    df["time"] = pd.to_datetime(df.pop("date") + " " + df["time"], format="%d.%m.%Y %H:%M")
    return df


PEOPLE = [
    ({}, []),
    (dict(height=1.6, weight=55, age=70, sex="f", clo=0.5, act=120, posture="sitting"),
     ["--set", "EditGr=1.6", "--set", "EditGew=55", "--set", "EditA=70", "--set", "ComboSex=f",
      "--set", "EditIcl=0.5", "--set", "EditAct=120", "--set", "ComboPos=sitting"]),
]


@pytest.mark.parametrize("person,options", PEOPLE)
def test_index_functions_give_the_tables_indices(run_umbrix, person, options):
    rows = weather_rows(40, 1, with_tmrt=True)
    table = run_umbrix(rows.to_numpy().tolist(), list(rows.columns), *options)
    w = frame(rows)
    air = dict(Ta=w["Ta"], RH=w["RH"], v=w["v"], Tmrt=w["Tmrt"])
    assert_as_printed(table, umbrix.utci(**air), "UTCI")
    assert_as_printed(table, umbrix.perceived_temperature(**air), "PT")
    assert_as_printed(table, umbrix.pmv(**air, **person), "PMV")
    assert_as_printed(table, umbrix.pet(**air, **person), "PET")
    assert_as_printed(table, umbrix.set_star(**air, **person), "SET")
    assert_as_printed(table, umbrix.mpet(**air, **person), "mPET")


@pytest.mark.parametrize("columns", [("N", "G"), ("N",)])
def test_compute_gives_the_table(run_umbrix, columns):
    rows = weather_rows(30, 2, with_tmrt=False)
    if "G" in columns:
        rows["G"] = np.round(np.random.default_rng(3).uniform(0, 300, len(rows)), 0)
        rows.loc[3, "G"] = 9999  # a missing G leaves the row uncomputed
    table = run_umbrix(rows.to_numpy().tolist(), list(rows.columns))
    result = umbrix.compute(frame(rows), site=FREIBURG)
    assert (result["time"].to_numpy() == table["time"].to_numpy()).all()
    compared = [c for c in table.columns if c in result.columns and c != "time"]
    assert len(compared) >= 25
    for column in compared:
        assert_as_printed(table, result[column], column)


EXTRA_COLUMNS = ["Enumtag1", "Latitude1", "Longitude1", "Altitude1", "Timezone1",
                 "Sunelevationangle1", "Sunazimuthangle1", "SVFcos1", "LTF1"]


def test_compute_gives_the_table_in_a_courtyard_with_clothing_per_row(run_umbrix):
    rows = weather_rows(30, 5, with_tmrt=False)
    rng = np.random.default_rng(6)
    rows["clo"] = np.round(rng.uniform(0.3, 2.0, len(rows)), 2)
    rows["act"] = np.round(rng.uniform(20, 200, len(rows)), 0)
    courtyard = f"{SOURCE}/examples/courtyard.obs"
    options = ["--obstacles", courtyard] + sum((["--set", f"{c}=1"] for c in EXTRA_COLUMNS), [])
    table = run_umbrix(rows.to_numpy().tolist(), list(rows.columns), *options)
    horizon = umbrix.horizon_from_obstacles(courtyard)
    result = umbrix.compute(frame(rows), site=FREIBURG, horizon=horizon)
    compared = [c for c in table.columns if c in result.columns and c != "time"]
    assert {"elevation", "azimuth", "SVFcos", "LTF", "PET"} <= set(compared)
    assert table["SVF"][0] < 0.9 and (table["lat"] == 48).all()
    for column in compared:
        assert_as_printed(table, result[column], column)

    # the functions over arrays give the same sun and radiation
    w = frame(rows)
    sun = umbrix.sun_position(lon=7.85, lat=48, tz=1, time=w["time"])
    for column in ("elevation", "azimuth"):
        assert_as_printed(table, sun[column], column)
    radiation = umbrix.radiation(**FREIBURG, time=w["time"], Ta=w["Ta"], RH=w["RH"], v=w["v"],
                                 N=w["N"], horizon=horizon, threads=2)
    for column in ("G", "S", "D", "A", "E", "Ts", "Tmrt", "LTF"):
        assert_as_printed(table, radiation[column], column)


def test_read_table_reads_both_languages_alike(run_umbrix):
    rows = weather_rows(5, 4, with_tmrt=False)
    english = run_umbrix(rows.to_numpy().tolist(), list(rows.columns))
    german = run_umbrix(rows.to_numpy().tolist(), list(rows.columns), "--lang", "de")
    pd.testing.assert_frame_equal(english, german)
    assert english["time"].dtype.kind == "M" and english["doy"].dtype == np.float64
