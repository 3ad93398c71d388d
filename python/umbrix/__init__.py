"""Umbrix: human-biometeorology in urban structures over numpy arrays and pandas DataFrames.

The sun's position, the radiation at a standing person with the mean radiant temperature, and
the thermal indices PMV, PET, SET*, UTCI, PT and mPET, computed by the Umbrix engine: the same
numbers as the tables of the command line and the desktop program, vectorised with numpy
broadcasting and run on all cores without the GIL.

Functions over arrays: utci, pmv, pet, set_star, perceived_temperature, mpet, sun_position,
radiation, vapour_pressure, relative_humidity. Tables: compute (a DataFrame of weather rows in,
the table's columns out), read_table (a table written by the command line). Horizons:
sky_view_factors, horizon_from_obstacles, Horizon, building, tree, read_obstacles.
Assessment: stress_classes, stress_class (UTCI, PET, PMV, PT).
Dask: umbrix.dask (import it to use it).
"""

from ._classes import StressClass, stress_class, stress_classes
from ._core import __version__, Horizon, Obstacle, building, simd_target, tree
from ._functions import (mpet, perceived_temperature, pet, pmv, radiation, relative_humidity,
                         set_star, sun_position, utci, vapour_pressure)
from ._horizon import (FisheyeImage, SkyViewFactors, horizon_from_obstacles, read_obstacles,
                       sky_view_factors)
from ._table import compute, read_table
from ._types import Person, Settings, Site

__all__ = [
    "FisheyeImage", "Horizon", "Obstacle", "Person", "Settings", "Site", "SkyViewFactors", "StressClass",
    "building", "compute", "horizon_from_obstacles", "mpet", "perceived_temperature", "pet",
    "pmv", "radiation", "read_obstacles", "read_table", "relative_humidity", "set_star",
    "simd_target", "sky_view_factors", "stress_class", "stress_classes", "sun_position", "tree",
    "utci", "vapour_pressure",
]
