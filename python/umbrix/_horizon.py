"""Horizons: sky view factors of a fisheye image, and the horizon of obstacles."""

import os
import warnings
from collections import namedtuple

import numpy as np

from . import _core
from ._core import Horizon, Obstacle

SkyViewFactors = namedtuple("SkyViewFactors", ["SVF", "SVFcos"])


class FisheyeImage(np.ndarray):
    """A fisheye image (481 x 481 x 3 RGB bytes) that keeps the horizon it was drawn from.

    An ndarray in every respect; where a horizon is taken (radiation, compute,
    sky_view_factors) the kept horizon serves as long as the pixels are unchanged, so that the
    trees' transparency and the exact sky view factors of the obstacles stay. `.horizon` is it.
    """

    def __new__(cls, horizon):
        image = np.asarray(horizon).view(cls)
        image.horizon = horizon
        return image

    def __array_finalize__(self, source):
        self.horizon = getattr(source, "horizon", None)

    # pickle (Dask's workers) keeps the horizon with the pixels
    def __reduce__(self):
        rebuild, args, state = super().__reduce__()
        return rebuild, args, (state, self.horizon)

    def __setstate__(self, state):
        pixels, self.horizon = state
        super().__setstate__(pixels)


def as_horizon(image):
    """A umbrix.Horizon from a Horizon or a fisheye image (see Horizon.from_image)."""
    if isinstance(image, Horizon):
        return image
    kept = getattr(image, "horizon", None)
    if kept is not None and image.shape == (481, 481, 3) and np.array_equal(image, np.asarray(kept)):
        return kept
    return Horizon.from_image(np.asarray(image))


def sky_view_factors(image):
    """The two sky view factors of a fisheye horizon image, as SkyViewFactors(SVF, SVFcos).

    image: a 481 x 481 bool array (True where the sky is free) or 481 x 481 x 3 RGB bytes (only
    pure white is free sky) in the fisheye frame of the horizon drawings: centre pixel
    (240, 240), horizon circle of radius 240, north up and east right, equidistant in zenith
    angle; or a umbrix.Horizon.

    SVF is the free share of the hemisphere's solid angle, SVFcos that of the cosine-weighted
    hemisphere (the view factor of a horizontal surface), integrated with the weighting of
    equidistant sky photographs (Steyn 1980, Atmosphere-Ocean 18:254-258).
    """
    horizon = as_horizon(image)
    return SkyViewFactors(float(horizon.svf), float(horizon.svf_cos))


def read_obstacles(path):
    """The obstacles of an obstacle file (.obs) as a list of umbrix.Obstacle.

    A file that cannot be read raises OSError; one that holds no obstacle that can be read
    raises ValueError naming the file and the first line that cannot be read. Lines that
    cannot be read among readable ones are skipped with a warning naming the first of them.
    """
    path = os.fspath(path)
    obstacles, dropped, first, reason = _core._read_obstacle_file(path)
    if dropped:
        warnings.warn(f"{os.path.basename(path)}: {dropped} obstacle line(s) could not be read "
                      f"and were skipped (first: line {first}, {reason})", stacklevel=3)
    return obstacles


def _obstacles(source):
    if isinstance(source, (str, os.PathLike)):
        return read_obstacles(source)
    obstacles = []
    for k, item in enumerate(source, start=1):
        if isinstance(item, Obstacle):
            obstacles.append(item)
        elif isinstance(item, str):
            try:
                obstacles.append(_core._parse_obstacle_line(item))
            except ValueError as e:
                raise ValueError(f"obstacle {k} ({item!r}): {e}") from None
        else:
            raise ValueError(f"obstacle {k} is a umbrix.Obstacle or an obstacle line, not {item!r}")
    return obstacles


def horizon_from_obstacles(obstacles, location=(0.0, 0.0), *, eye_height=1.0, buildings=True,
                           deciduous=True, conifers=True):
    """The horizon of buildings and trees, as the obstacle editor projects them.

    obstacles: the path of an obstacle file (.obs), or a list of umbrix.Obstacle (see
    umbrix.building, umbrix.tree) or of obstacle lines ("g x1 y1 z1 ... albedo emission",
    "l x y height crown_radius trunk_length trunk_diameter albedo emission", "n ..." for a
    conifer). Coordinates in metres, x east and y north.
    location: (x, y), m, the location of calculation in the obstacles' frame (the editor's
    "Move location"); eye_height: its height above the ground, m. buildings, deciduous,
    conifers: which kinds take part.

    Returns the fisheye image, 481 x 481 x 3 RGB bytes (pure white: free sky; north up, east
    right, equidistant in zenith angle), as a FisheyeImage: an ndarray that keeps the horizon of
    the obstacles in .horizon (a umbrix.Horizon with .svf and .svf_cos). Pass it to
    sky_view_factors(), or as horizon= to radiation() or compute().
    """
    x, y = (float(c) for c in location)
    return FisheyeImage(_core._horizon_from_obstacles(_obstacles(obstacles), x, y,
                                                      float(eye_height), bool(buildings),
                                                      bool(deciduous), bool(conifers)))
