"""UTCI, PET and Tmrt of a grid of 50 x 50 cells over 400 hours (10^6 points) on a local
cluster of two worker processes, element by element equal to the in-process call."""
import numpy as np
import pytest

import umbrix
from conftest import SOURCE

dask = pytest.importorskip("dask")
distributed = pytest.importorskip("distributed")
import dask.array as da  # noqa: E402

import umbrix.dask as ud  # noqa: E402

CELLS, HOURS = 50, 400


@pytest.fixture(scope="module")
def client():
    cluster = distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                       dashboard_address=None, silence_logs=40)
    with distributed.Client(cluster) as c:
        yield c
    cluster.close()


def grid():
    """Hourly weather over 400 hours for each cell; each cell its sky view factor."""
    rng = np.random.default_rng(11)
    hours = np.arange(HOURS)
    Ta = 18 + 8 * np.sin(2 * np.pi * (hours - 9) / 24) + rng.normal(0, 1, HOURS)
    RH = np.clip(70 - 2 * (Ta - 18) + rng.normal(0, 5, HOURS), 10, 100)
    v = rng.uniform(0.5, 6, (CELLS, CELLS, 1)) * rng.uniform(0.6, 1.4, HOURS)
    svf = rng.uniform(0.2, 1.0, (CELLS, CELLS, 1))
    return dict(Ta=Ta, RH=RH, v=v, svf=svf, doy=172 + hours // 24, hour=(hours % 24) * 1.0)


def test_utci_pet_and_tmrt_on_two_worker_processes(client):
    g = grid()
    chunks = (25, 25, HOURS)
    lazy = {k: da.from_array(np.broadcast_to(x, (CELLS, CELLS, HOURS)), chunks=chunks)
            for k, x in g.items()}
    place = dict(lon=7.85, lat=48.0, alt=278, tz=1.0, N=2.0)
    tmrt = ud.radiation(**place, doy=lazy["doy"], hour=lazy["hour"], Ta=lazy["Ta"],
                        RH=lazy["RH"], v=lazy["v"], svf=lazy["svf"])["Tmrt"]
    air = dict(Ta=lazy["Ta"], RH=lazy["RH"], v=lazy["v"], Tmrt=tmrt)
    utci, pet = ud.utci(**air), ud.pet(**air)
    assert utci.size >= 10**6 and utci.npartitions == 4
    tmrt, utci, pet = dask.compute(tmrt, utci, pet)
    assert len(client.scheduler_info()["workers"]) == 2

    local_tmrt = umbrix.radiation(**place, doy=g["doy"], hour=g["hour"], Ta=g["Ta"], RH=g["RH"],
                                  v=g["v"], svf=g["svf"])["Tmrt"]
    local = dict(Ta=g["Ta"], RH=g["RH"], v=g["v"], Tmrt=local_tmrt)
    for name, remote, here in (("Tmrt", tmrt, local_tmrt), ("UTCI", utci, umbrix.utci(**local)),
                               ("PET", pet, umbrix.pet(**local))):
        assert remote.shape == (CELLS, CELLS, HOURS), name
        assert np.array_equal(remote, here, equal_nan=True), name
        assert np.isfinite(here).mean() > 0.99, name


def test_compute_over_partitions_has_the_meta_of_its_result(client):
    import dask.dataframe as dd
    import pandas as pd

    df = pd.DataFrame({"time": pd.date_range("2025-07-01", periods=96, freq="h"),
                       "Ta": 20.0, "RH": 60.0, "v": 1.5, "N": 3.0})
    # the horizon travels to the workers with the calls
    courtyard = umbrix.horizon_from_obstacles(f"{SOURCE}/examples/courtyard.obs")
    options = dict(site=dict(lon=7.85, lat=48, tz=1), indices=["UTCI", "PET"], horizon=courtyard)
    lazy = ud.compute(dd.from_pandas(df, npartitions=4), **options)
    here = umbrix.compute(df, **options)
    assert here["SVF"][0] < 0.9
    assert list(lazy.columns) == list(here.columns)
    assert (lazy.dtypes == here.dtypes).all()
    pd.testing.assert_frame_equal(lazy.compute(), here)
