"""Lazy versions of the umbrix functions for dask arrays and dask DataFrames.

Each array function takes the keyword arguments of its umbrix namesake; inputs that are dask
arrays (or numpy arrays, which become single-chunk dask arrays) are broadcast together and
computed chunk by chunk with map_blocks, each chunk by the engine on the worker's cores; numbers
and texts go to every chunk as they are. The result is a lazy float64 dask array (a dict of them
where the eager function returns a dict). Nothing is computed until .compute() or dask.compute().

    import umbrix.dask as ud
    from dask.distributed import Client
    client = Client("tcp://scheduler:8786")   # or LocalCluster()
    utci = ud.utci(Ta=ta, RH=rh, v=v, Tmrt=tmrt)  # ta, ... dask arrays chunked alike
    utci.compute()

Each chunk runs on `threads=` threads of its worker's machine (default: every core); with one
worker process per core, threads=1 avoids running more threads than cores.

compute(ddf, ...) is umbrix.compute over the partitions of a dask DataFrame (map_partitions),
with the output columns as meta. PET starts a fresh model state in every chunk or partition;
its carried-over values rarely change a result, but a table that must match the program's to
the last digit is computed in one piece (umbrix.compute on the whole DataFrame).
"""

import dask.array as da
import numpy as np

import umbrix as _umbrix

from . import _table

_F = np.float64
# the fields of the functions that return a dict of arrays
_FIELDS = {
    "sun_position": ("Z", "elevation", "azimuth", "true_time"),
    "radiation": ("LTF", "G0", "S0", "D0", "G", "S", "D", "A", "E", "Q", "Ts", "Tmrt"),
    "pet": ("PET", "Tc", "Tsk", "WL", "SWt", "H", "Rnb", "C", "Evpd", "Esw"),
    "mpet": ("mPET", "Tc", "Tsk", "Tsk1", "Tsk2", "Tsk3", "Tsk4", "Tsk5", "Tcl",
             "skin_wettedness", "sweat_rate", "M", "R", "C", "L", "Ere", "RC", "S"),
}
# inputs that are no arrays of numbers even when given as arrays
_PASS_THROUGH = {"horizon", "threads", "details", "sedentary", "auto_clothing"}


def _is_array(name, value):
    if name in _PASS_THROUGH or value is None or isinstance(value, (str, bytes)):
        return False
    if isinstance(value, da.Array):
        return True
    a = np.asarray(value)
    return a.ndim > 0 and a.dtype.kind in "fiub"


def _apply(name, kwargs, fields=None):
    """map_blocks of umbrix.<name> over the array inputs of kwargs."""
    function = getattr(_umbrix, name)
    keys = [k for k, v in kwargs.items() if _is_array(k, v)]
    constants = {k: v for k, v in kwargs.items() if k not in keys}
    if not keys:
        raise ValueError(f"umbrix.dask.{name} needs at least one array input; for numbers alone "
                         f"call umbrix.{name}")
    arrays = da.broadcast_arrays(*(da.asarray(kwargs[k]) for k in keys))
    arrays = da.core.unify_chunks(*sum(([a, tuple(range(a.ndim))] for a in arrays), []))[1]

    if fields is None:
        def block(*blocks):
            return np.asarray(function(**dict(zip(keys, blocks)), **constants), dtype=_F)

        return da.map_blocks(block, *arrays, dtype=_F, meta=np.empty((0,) * arrays[0].ndim, _F),
                             name=f"umbrix-{name}")

    def stacked(*blocks):
        d = function(**dict(zip(keys, blocks)), **constants)
        return np.stack([np.broadcast_to(d[f], blocks[0].shape) for f in fields], axis=-1)

    ndim = arrays[0].ndim
    out = da.map_blocks(stacked, *arrays, dtype=_F, new_axis=ndim,
                        chunks=arrays[0].chunks + ((len(fields),),),
                        meta=np.empty((0,) * (ndim + 1), _F), name=f"umbrix-{name}")
    return {f: out[..., k] for k, f in enumerate(fields)}


def utci(**kwargs):
    """umbrix.utci over dask arrays (lazy); see help(umbrix.utci)."""
    return _apply("utci", kwargs)


def pmv(**kwargs):
    """umbrix.pmv over dask arrays (lazy); see help(umbrix.pmv)."""
    return _apply("pmv", kwargs)


def set_star(**kwargs):
    """umbrix.set_star over dask arrays (lazy); see help(umbrix.set_star)."""
    return _apply("set_star", kwargs)


def perceived_temperature(**kwargs):
    """umbrix.perceived_temperature over dask arrays (lazy)."""
    return _apply("perceived_temperature", kwargs)


def pet(**kwargs):
    """umbrix.pet over dask arrays (lazy); details=True gives a dict of dask arrays. Each chunk
    starts a fresh PET state (see the module's help)."""
    return _apply("pet", kwargs, _FIELDS["pet"] if kwargs.get("details") else None)


def mpet(**kwargs):
    """umbrix.mpet over dask arrays (lazy); details=True gives a dict of dask arrays."""
    return _apply("mpet", kwargs, _FIELDS["mpet"] if kwargs.get("details") else None)


def sun_position(**kwargs):
    """umbrix.sun_position over dask arrays (lazy): a dict of dask arrays. The time as doy= and
    hour= arrays (datetimes: convert them with umbrix.sun_position's rules first)."""
    return _apply("sun_position", kwargs, _FIELDS["sun_position"])


def radiation(**kwargs):
    """umbrix.radiation over dask arrays (lazy): a dict of dask arrays G, S, D, A, E, Ts, Tmrt,
    ... The time as doy= and hour= arrays; horizon= one umbrix.Horizon for all, or svf= an
    array of sky view factors."""
    return _apply("radiation", kwargs, _FIELDS["radiation"])


def compute(ddf, site=None, person=None, indices=_table.INDICES, **kwargs):
    """umbrix.compute over the partitions of a dask DataFrame (lazy, map_partitions), with the
    output columns as meta. Each partition runs in order with its own PET state."""
    # the columns and types of a result: umbrix.compute on dask's placeholder row
    meta = _umbrix.compute(ddf._meta_nonempty.head(1), site, person, indices, **kwargs).iloc[:0]
    return ddf.map_partitions(_umbrix.compute, site, person, indices, meta=meta, **kwargs)
