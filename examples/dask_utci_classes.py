#!/usr/bin/python3
"""Hours per UTCI stress class over a year, for a small grid of places with different sky view
factors (an open square to a narrow street), computed on a Dask cluster.

The year is an hourly weather series of Freiburg's climate, made up here from a seasonal and a
daily course with random weather on top (give a real one with --weather: a table with the
columns time, Ta, RH, v, N as umbrix.read_table or pandas reads it). Each grid cell gets Tmrt
from the radiation step under its sky view factor, then UTCI; the classes are those of the UTCI
assessment scale (umbrix.stress_classes).

    PYTHONPATH=build/python /usr/bin/python3 examples/dask_utci_classes.py
    PYTHONPATH=build/python /usr/bin/python3 examples/dask_utci_classes.py \\
        --scheduler tcp://scheduler:8786    # a running cluster whose workers have umbrix
"""
import argparse

import dask
import dask.array as da
import numpy as np
import pandas as pd

import umbrix
import umbrix.dask as ud

FREIBURG = dict(lon=7.85, lat=48.0, alt=278, tz=1.0)


def made_up_year(year=2025, seed=1):
    """Hourly weather of a year with a Central European course: Ta, RH, v (at 1.1 m), N."""
    time = pd.date_range(f"{year}-01-01", periods=8760, freq="h")
    rng = np.random.default_rng(seed)
    day = (time.dayofyear.to_numpy() - 1) / 365
    hour = time.hour.to_numpy()
    # weather that lasts a few days: smoothed noise
    spell = np.convolve(rng.normal(0, 1, 8760 + 71), np.ones(72) / np.sqrt(72), "valid")
    N = np.clip(np.round(4 + 2.5 * spell + rng.normal(0, 1.5, 8760)), 0, 8)
    amplitude = (4 + 3 * np.sin(np.pi * day)) * (1 - N / 12)
    Ta = 10.5 - 9.5 * np.cos(2 * np.pi * (day - 0.04)) + 3 * spell
    Ta = Ta + amplitude * np.sin(2 * np.pi * (hour - 9) / 24)
    RH = np.clip(75 - 2.2 * amplitude * np.sin(2 * np.pi * (hour - 9) / 24) + 5 * N / 8, 20, 100)
    v = np.clip(1.6 + 0.8 * rng.normal(0, 1, 8760) + 0.5 * spell, 0.2, 12)
    return pd.DataFrame({"time": time, "Ta": Ta, "RH": RH, "v": v, "N": N})


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--scheduler", help="address of a running scheduler (default: a local "
                        "cluster of two worker processes)")
    parser.add_argument("--weather", help="table of hourly weather (time, Ta, RH, v, N)")
    parser.add_argument("--cells", type=int, default=8, help="grid cells per side (default 8)")
    args = parser.parse_args()

    from dask.distributed import Client, LocalCluster

    cluster = None if args.scheduler else LocalCluster(n_workers=2, threads_per_worker=1,
                                                       dashboard_address=None)
    client = Client(args.scheduler or cluster)

    weather = umbrix.read_table(args.weather) if args.weather else made_up_year()
    sun = umbrix.sun_position(**{k: FREIBURG[k] for k in ("lon", "lat", "tz")},
                              time=weather["time"])
    doy = weather["time"].dt.dayofyear.to_numpy()
    hour = (weather["time"].dt.hour + weather["time"].dt.minute / 60).to_numpy(np.float64)
    n, hours = args.cells, len(weather)
    # sky view factors from an open square (1.0) to a narrow street (0.3)
    svf = np.linspace(1.0, 0.3, n * n).reshape(n, n, 1)
    chunks = (max(1, n // 2), max(1, n // 2), hours)
    shape = (n, n, hours)

    def grid(x):
        return da.from_array(np.broadcast_to(x, shape), chunks=chunks)

    air = {k: grid(weather[k].to_numpy(np.float64)) for k in ("Ta", "RH", "v")}
    tmrt = ud.radiation(**FREIBURG, doy=grid(doy), hour=grid(hour), N=grid(weather["N"]),
                        svf=grid(svf), **air)["Tmrt"]
    utci = ud.utci(**air, Tmrt=tmrt)
    classes = umbrix.stress_classes("UTCI")
    # the printed value decides the class, as in a table
    stress = da.map_blocks(lambda u: umbrix.stress_class(np.round(u, 1)), utci, dtype=np.int32)
    counts = dask.compute(*[(stress == k).sum(axis=-1) for k in range(len(classes))])

    daylight = (sun["elevation"] > 0).sum()
    print(f"{hours} hours ({daylight} with the sun up), {n} x {n} places, "
          f"sky view factor {svf.max():.2f} ... {svf.min():.2f}; workers: "
          f"{len(client.scheduler_info()['workers'])}")
    print(f"{'UTCI stress class':<28}{'open':>8}{'narrow':>8}{'mean':>8}   hours per year")
    for c, count in zip(classes, counts):
        print(f"{c.label:<28}{count[0, 0]:>8d}{count[-1, -1]:>8d}{count.mean():>8.0f}")
    client.close()
    if cluster:
        cluster.close()


if __name__ == "__main__":
    main()
