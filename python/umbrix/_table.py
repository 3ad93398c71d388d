"""Tables: a DataFrame of weather rows through the engine, and the tables of the command line."""

import os
import re

import numpy as np

from . import _core
from ._arrays import POSTURE_CODES, SEX_CODES, codes, day_and_hour, local_times, threads_of
from ._types import Person, Settings, Site, as_type

INDICES = ("PMV", "PET", "SET", "UTCI", "PT", "mPET")

# the order of the computed table's columns, as the table writes them
_RESULT_ORDER = ("sunrise", "sunset", "SDmax", "SDact", "true_time", "Z", "elevation", "azimuth",
                 "SVF", "SVFcos", "LTF", "G0", "S0", "D0", "G", "S", "D", "A", "E", "Q", "Ts",
                 "Ta", "VP", "RH", "v", "N", "Tmrt") + INDICES

# data-file columns that give one value per row instead of the site, person or pre-settings
_SITE_COLUMNS = ("lon", "lat", "alt", "tz")
_SETTING_COLUMNS = ("albedo", "bowen", "LTF", "DG")


def _column(df, name, default=None):
    if name not in df.columns:
        return default
    try:
        return df[name].to_numpy(dtype=np.float64, na_value=np.nan)
    except (TypeError, ValueError):
        raise ValueError(f"column {name}: cannot read its values as numbers") from None


def _times(df, tz):
    """Day of year and local standard time of every row, and the row's datetime (or None)."""
    if "time" in df.columns:
        t = local_times(df["time"], tz)
        doy, hour = day_and_hour(t, None, None, tz)
        return doy, hour, t
    if "hour" not in df.columns:
        raise ValueError("give the time of each row: a column time (datetimes), or the columns "
                         "date and hour, or doy and hour (local standard time, decimal hours)")
    hour = _column(df, "hour")
    if "date" in df.columns:
        day = local_times(df["date"], 0).astype("datetime64[D]")
        whole = (np.where(np.isfinite(hour), hour, 0) * 3.6e12).astype("timedelta64[ns]")
        t = np.where(np.isfinite(hour), day.astype("datetime64[ns]") + whole, np.datetime64("NaT"))
        doy, _ = day_and_hour(t, None, None, tz)
        return doy, hour, t
    if "doy" in df.columns:
        doy, _ = day_and_hour(None, _column(df, "doy"), hour, tz)
        return doy, hour, None
    raise ValueError("a column hour needs a column date or doy with it")


def compute(df, site=None, person=None, indices=INDICES, *, settings=None, horizon=None,
            details=False, threads=None):
    """The table of a DataFrame of weather rows, as the command line computes a data file.

    df: a pandas DataFrame with one row per calculation and columns named by the data-file short
    names: the time as `time` (datetimes; naive ones are local standard time of the site's time
    zone, timezone-aware ones are converted to it) or `date` and `hour`, or `doy` and `hour`
    (decimal hours of local standard time); Ta (°C), VP (hPa) or RH (%), v (m/s at 1.1 m),
    N (octas, 0 when absent); G and D (W/m²), Ts and Tmrt (°C) when measured; and per row,
    instead of the site, person or settings: lon, lat, alt, tz, clo, act, albedo, bowen, LTF, DG.
    A NaN in Ta, the humidity, v, N or in a given G or Tmrt is a missing value: the row keeps its
    sun and day, and every computed column is NaN, as a table row with the missing value.

    site: umbrix.Site or a dict of its fields (lon, lat, alt, tz), unless df gives lon and lat.
    person: umbrix.Person or a dict (the main window's defaults). indices: which of "PMV",
    "PET", "SET", "UTCI", "PT", "mPET" (all by default). settings: umbrix.Settings or a dict.
    horizon: a umbrix.Horizon or a fisheye image (free sky by default). details=True adds the
    PET and mPET model values (PET_Tc, ..., mPET_Tc, ...).

    The rows are computed in order with one PET model state, as a table is (PET carries a few
    working values from row to row); mPET runs on `threads` threads (None: every core).

    Returns a DataFrame with the index of df: the input time columns, then sunrise and sunset
    (local time, decimal hours; NaN on days without both), SDmax and SDact (min), true_time (h),
    Z, elevation and azimuth (°), SVF, SVFcos, LTF, G0, S0, D0, G, S, D, A, E, Q (W/m²), Ts,
    Ta (°C), VP (hPa), RH (%), v (m/s), N (octas), Tmrt (°C) and the indices.
    """
    import pandas as pd

    if not isinstance(df, pd.DataFrame):
        raise ValueError(f"compute takes a pandas DataFrame, not {type(df).__name__}")
    selected = _selection(indices)
    person = as_type(Person, person, "person")
    settings = as_type(Settings, settings, "settings")
    if site is None:
        if "lon" not in df.columns or "lat" not in df.columns:
            raise ValueError("give the site (umbrix.Site or a dict with lon and lat), or the "
                             "columns lon and lat")
        site = Site(lon=np.nan, lat=np.nan)
    else:
        site = as_type(Site, site, "site")
    if horizon is not None and not isinstance(horizon, _core.Horizon):
        from ._horizon import as_horizon

        horizon = as_horizon(horizon)
    n = len(df)
    place = {k: _column(df, k, np.float64(getattr(site, k))) for k in _SITE_COLUMNS}
    doy, hour, _ = _times(df, place["tz"])
    for name in ("Ta", "v"):
        if name not in df.columns:
            raise ValueError(f"the DataFrame has no column {name}")
    if "VP" not in df.columns and "RH" not in df.columns:
        raise ValueError("the DataFrame has no humidity: a column VP (hPa) or RH (%)")
    weather = {k: _column(df, k) for k in ("Ta", "VP", "RH", "v", "N", "G", "D", "Ts", "Tmrt")}
    if weather["VP"] is not None:
        weather["RH"] = None  # the vapour pressure leads, as a data file's VP column does
    if weather["N"] is None:
        weather["N"] = np.zeros(1)
    missing = np.zeros(n, dtype=bool)
    for k in ("G", "Tmrt"):
        if weather[k] is not None:
            missing |= np.isnan(weather[k])
    if weather["D"] is not None and weather["G"] is None:
        raise ValueError("a column D needs the column G (D/G splits the measured G)")
    per_row = {k: _column(df, k) for k in _SETTING_COLUMNS}
    one = lambda x: np.asarray([x], dtype=np.float64)
    clo = _column(df, "clo", one(person.clo))
    act = _column(df, "act", one(person.act))
    flat = _core.compute_rows(
        n, np.ascontiguousarray(doy.reshape(-1), dtype=np.int32), np.asarray(hour, np.float64),
        *(np.atleast_1d(place[k]) for k in ("lon", "lat", "alt", "tz")),
        *(weather[k] for k in ("Ta", "VP", "RH", "v", "N", "G", "D", "Ts", "Tmrt")),
        *(per_row[k] for k in _SETTING_COLUMNS),
        one(person.height), one(person.weight), one(person.age), clo, act,
        codes([person.sex], SEX_CODES, "sex"), codes([person.posture], POSTURE_CODES, "posture"),
        bool(person.auto_clothing), missing.astype(np.int32), settings, horizon,
        [name in selected for name in INDICES], bool(details), threads_of(threads))
    out = {}
    for name in ("time", "date", "doy", "hour"):
        if name in df.columns:
            out[name] = df[name].to_numpy()
    if "doy" not in out:
        out["doy"] = flat.pop("doy").astype(np.int64)
    else:
        flat.pop("doy")
    for name in _RESULT_ORDER:
        if name in flat:
            out[name] = flat.pop(name)
    out.update(flat)  # the model details
    return pd.DataFrame(out, index=df.index)


def _selection(indices):
    if isinstance(indices, str):
        indices = [indices]
    chosen = set()
    for name in indices:
        key = {"SET*": "SET", "SET_STAR": "SET", "MPET": "mPET"}.get(str(name).upper(), None)
        key = key or next((k for k in INDICES if k.upper() == str(name).upper()), None)
        if key is None:
            raise ValueError(f"unknown index {name!r}; the indices are {', '.join(INDICES)}")
        chosen.add(key)
    return chosen


# ---- tables written by the command line ----

# the column names of both languages' tables, by the data-file short names
_TABLE_NAMES = {
    "Enum.": "tag", "date": "date", "Datum": "date", "day of": "doy", "Tag d.": "doy",
    "time": "time", "Zeit": "time", "Latit.": "lat", "Long.": "lon", "Altit.": "alt",
    "UTC": "tz", "sunr.": "sunrise", "SA": "sunrise", "sunset": "sunset", "SU": "sunset",
    "SDmax": "SDmax", "SDact": "SDact", "SDtat": "SDact", "elev.": "elevation",
    "azim.": "azimuth", "SVF_Umb": "SVF", "SVF_cos": "SVFcos", "LTF": "LTF", "Albedo": "albedo",
    "Bowen": "bowen", "Gmax": "G0", "Gact": "G", "Gtat": "G", "Sact": "S", "Stat": "S",
    "Dact": "D", "Dtat": "D", "A": "A", "E": "E", "Ts": "Ts", "To": "Ts", "Ta": "Ta", "VP": "VP",
    "RH": "RH", "v": "v", "C": "N", "Tmrt": "Tmrt", "height": "height", "Größe": "height",
    "weight": "weight", "Gewicht": "weight", "age": "age", "Alter": "age", "sex": "sex",
    "Geschl.": "sex", "cloth.": "clo", "Kleid.": "clo", "activ.": "act", "Aktiv.": "act",
    "PMV": "PMV", "PET": "PET", "SET*": "SET", "UTCI": "UTCI", "PT": "PT", "mPET": "mPET",
}
_TEXT_COLUMNS = ("tag", "sex")
_CLOCK_COLUMNS = ("sunrise", "sunset")


def read_table(path, missing=9999.0):
    """A table written by the command line or the desktop program (English or German), as a
    pandas DataFrame.

    Columns are named by the data-file short names (Ta, RH, G, Tmrt, PET, ...; the cloud cover
    "C" is N, "SET*" is SET, "SVF_Umb" is SVF); the date and time columns become `time`
    (datetimes), with the day of year as `doy`; sunrise and sunset are decimal hours (NaN for
    "---"). The missing value (9999.0) is NaN. The banner and the place lines are kept in
    DataFrame.attrs["header"].

    A file that cannot be opened raises OSError; one that is no such table, or a cell that cannot
    be read, ValueError naming the file, line and column.
    """
    import pandas as pd

    path = os.fspath(path)
    name = os.path.basename(path)
    with open(path, encoding="utf-8", errors="strict", newline="") as f:
        try:
            lines = f.read().splitlines()
        except UnicodeDecodeError as e:
            raise ValueError(f"{name}: not a table in UTF-8 ({e.reason} at byte {e.start})") from None
    # the name line: the first with a known first column and tabs, followed by the unit line
    start = next((k for k, line in enumerate(lines[:-1])
                  if "\t" in line and line.split("\t")[0].strip() in _TABLE_NAMES), None)
    if start is None:
        raise ValueError(f"{name}: no table of the command line (no line of column names)")
    names = [c.strip() for c in lines[start].rstrip("\t").split("\t")]
    units = [c.strip() for c in lines[start + 1].rstrip("\t").split("\t")]
    columns = []
    for k, label in enumerate(names, start=1):
        short = _TABLE_NAMES.get(label, label)
        if short in columns:  # a detail column that shares a name
            short = f"{short}_{k}"
        columns.append(short)
    values = {c: [] for c in columns}
    for number, line in enumerate(lines[start + 2:], start=start + 3):
        if not line.strip():
            continue
        cells = line.rstrip("\t").split("\t")
        if len(cells) != len(columns):
            raise ValueError(f"{name}, line {number}: {len(cells)} columns, the header has "
                             f"{len(columns)}")
        for k, (column, cell) in enumerate(zip(columns, cells), start=1):
            values[column].append(_cell(cell.strip(), column, units[k - 1] if k <= len(units) else "",
                                        missing, f"{name}, line {number}, column {k} ({names[k - 1]})"))
    data = values
    if "date" in data:
        dates = data.pop("date")
        clock = data.pop("time", None)
        if clock is not None:
            data = {"time": [d + np.timedelta64(int(round(h * 60)), "m") for d, h in zip(dates, clock)],
                    **data}
        else:
            data = {"time": dates, **data}
    df = pd.DataFrame(data)
    if "time" in df.columns and df["time"].dtype != np.float64:
        df["time"] = pd.to_datetime(df["time"])
    df.attrs["header"] = lines[:start]
    return df


def _cell(text, column, unit, missing, where):
    if column in _TEXT_COLUMNS:
        return text
    if column == "date":
        return _date(text, unit, where)
    if column == "time" or column in _CLOCK_COLUMNS:
        if text == "---":
            return np.nan
        parts = re.findall(r"\d+", text)
        if not 1 <= len(parts) <= 3 or not re.fullmatch(r"\d+([:.]\d+){0,2}", text):
            raise ValueError(f"{where}: cannot read {text!r} as a time")
        h, m, s = (list(map(int, parts)) + [0, 0])[:3]
        return h + m / 60 + s / 3600
    try:
        x = float(text)
    except ValueError:
        raise ValueError(f"{where}: cannot read {text!r} as a number") from None
    return np.nan if x == missing else x


def _date(text, unit, where):
    """A date in the table's date format (the unit line's letters: d or t day, m month, y or j
    year, in the order of the format)."""
    order = [c for c in re.sub(r"(.)\1+", r"\1", re.sub(r"[^dtmyj]", "", unit.lower()))]
    order = ["d" if c == "t" else "y" if c == "j" else c for c in order]
    parts = re.findall(r"\d+", text)
    if sorted(order) != ["d", "m", "y"] or len(parts) != 3:
        raise ValueError(f"{where}: cannot read {text!r} as a date of the format {unit!r}")
    d = dict(zip(order, map(int, parts)))
    try:
        return np.datetime64(f"{d['y']:04d}-{d['m']:02d}-{d['d']:02d}", "m")
    except ValueError:
        raise ValueError(f"{where}: {text!r} is no date") from None
