"""Inputs of the vectorised functions: numpy broadcasting, codes, times and threads."""

import math
import numbers

import numpy as np

SEX_CODES = {"m": 0, "male": 0, "f": 1, "female": 1}
POSTURE_CODES = {"standing": 0, "sitting": 1}


class Batch:
    """The inputs broadcast against each other (numpy's rules), flattened for the engine.

    An input of a single value stays a single value; the others become contiguous arrays of
    the broadcast shape's size.
    """

    def __init__(self, **inputs):
        arrays = {}
        for name, (value, dtype) in inputs.items():
            if value is None:
                continue
            try:
                arrays[name] = np.asarray(value, dtype=dtype)
            except (TypeError, ValueError) as e:
                raise ValueError(f"{name}: cannot read {value!r} as numbers ({e})") from None
        try:
            self.shape = np.broadcast_shapes(*(a.shape for a in arrays.values()))
        except ValueError:
            shapes = ", ".join(f"{k} {a.shape}" for k, a in arrays.items())
            raise ValueError(f"the inputs do not broadcast together: {shapes}") from None
        self.n = math.prod(self.shape)
        self.arrays = {}
        for name, a in arrays.items():
            if a.size == 1:
                a = a.reshape(1)
            elif a.shape != self.shape:
                a = np.broadcast_to(a, self.shape)
            self.arrays[name] = np.ascontiguousarray(a).reshape(-1)

    def __getitem__(self, name):
        return self.arrays.get(name)

    def result(self, flat):
        """A flat result (an array, or a dict of arrays) in the broadcast shape."""
        if isinstance(flat, dict):
            return {k: v.reshape(self.shape) for k, v in flat.items()}
        out = flat.reshape(self.shape)
        return out[()] if out.ndim == 0 else out


def codes(value, table, what):
    """Texts (one, or an array of them) as the engine's codes."""
    if value is None:
        return None
    a = np.asarray(value)
    if a.dtype.kind not in "USO":
        raise ValueError(f"{what} is one of {', '.join(map(repr, table))}, not {value!r}")
    flat = a.reshape(-1)
    out = np.empty(flat.shape, dtype=np.int32)
    for i, text in enumerate(flat):
        code = table.get(str(text).strip().lower())
        if code is None:
            raise ValueError(f"{what} is one of {', '.join(map(repr, table))}, not {text!r}")
        out[i] = code
    return out.reshape(a.shape)


def threads_of(threads):
    """The engine's thread count: None for every core (0), else a whole number >= 1."""
    if threads is None:
        return 0
    if not isinstance(threads, numbers.Integral) or threads < 1:
        raise ValueError(f"threads is a whole number of at least 1 (or None for all cores), not {threads!r}")
    return int(threads)


def humidity(VP, RH):
    if (VP is None) == (RH is None):
        raise ValueError("give the humidity as VP (hPa) or as RH (%), one of them")
    return VP, RH


def day_and_hour(time, doy, hour, tz):
    """Day of year and local standard time (hours) from `time`, or doy and hour as given.

    Naive datetimes are local standard time of the time zone tz; timezone-aware ones are
    converted to it (UTC + tz hours).
    """
    if time is None:
        if doy is None or hour is None:
            raise ValueError("give the time: time= (datetimes) or doy= and hour=")
        doy = np.asarray(doy)
        if doy.dtype.kind == "f":
            whole = np.isfinite(doy) & (doy == np.floor(doy))
            doy = np.where(whole, doy, 0)
        return doy.astype(np.int32), hour
    if doy is not None or hour is not None:
        raise ValueError("give the time either as time= or as doy= and hour=, not both")
    t = local_times(time, tz)
    day = t.astype("datetime64[D]")
    valid = ~np.isnat(t)
    doy = np.where(valid, (day - t.astype("datetime64[Y]")).astype(np.int64) + 1, 0)
    hour = np.where(valid, (t - day) / np.timedelta64(1, "h"), np.nan)
    return doy.astype(np.int32), hour


def local_times(time, tz):
    """datetime64[ns] in local standard time of tz (hours east of UTC)."""
    aware = getattr(time, "tz", None) is not None
    if not aware and hasattr(time, "dt"):
        aware = time.dt.tz is not None
    if aware:
        import pandas as pd

        utc = pd.to_datetime(time, utc=True)
        utc = utc.dt.tz_localize(None) if hasattr(utc, "dt") else utc.tz_localize(None)
        offset = (np.asarray(tz, dtype=np.float64) * 3.6e12).astype("timedelta64[ns]")
        return np.asarray(utc, dtype="datetime64[ns]") + offset
    try:
        return np.asarray(time, dtype="datetime64[ns]")
    except (TypeError, ValueError):
        raise ValueError(f"time: cannot read {time!r} as datetimes") from None
