"""geoharm.dask - the acceleration of positions held in a dask array.

    import dask.array as da
    import geoharm.dask
    positions = da.from_array(p, chunks=(250_000, 3))   # p: (K, 3)
    a = geoharm.dask.acceleration(positions, 10, 10)     # lazy, (K, 3)
    a.compute()

Each chunk of rows is evaluated by one call of the core
(geoharm.acceleration) in the task that holds it: on a distributed
cluster, on the worker where the chunk lives, with the core's threads
there.  Every row has the bits of the one-process call: a point's result
never depends on the chunk it is in, the worker, or the thread count.
The workers need geoharm installed (the same wheel) to unpickle the task.
"""

from __future__ import annotations

import dask.array as da
import numpy as np
import numpy.typing as npt

import geoharm

__all__ = ["acceleration"]


def _acceleration_chunk(chunk: np.ndarray, n: int, m: int) -> np.ndarray:
    """One chunk of rows through the core (runs where the chunk is)."""
    return geoharm.acceleration(chunk, n, m)


def acceleration(positions: da.Array | npt.ArrayLike, N: int = 10, M: int = 10) -> da.Array:
    """The gravitational acceleration at a dask array of positions, lazily.

    Parameters
    ----------
    positions : dask.array.Array (or array_like), shape (K, 3) or (3,)
        x, y, z in metres (Earth-fixed axes), one point per row, chunked
        along the rows (chunks that split the three columns are joined
        first); any integer or float dtype.  K may be unknown (nan) until
        computed.  Anything else is taken through dask.array.asarray, as
        one chunk.
    N, M : int, default 10
        Largest degree and order, read as geoharm.acceleration reads them
        (checked here, at once).

    Returns
    -------
    dask.array.Array
        float64, the shape and row chunks of positions: a_x, a_y, a_z in
        m/s^2.  Nothing is evaluated until it is computed; then each chunk
        goes through one geoharm.acceleration call where it is.

    Raises
    ------
    TypeError
        positions' dtype is not integer or float; N or M not an integer.
    ValueError
        positions are not of shape (3,) or (K, 3).
    """
    array = da.asarray(positions)
    geoharm._check_real_kind(array.dtype)
    geoharm._check_shape(array.shape)
    n = geoharm._limit(N, "N", "maximum degree")
    m = geoharm._limit(M, "M", "maximum order")
    if array.ndim == 2 and len(array.chunks[1]) > 1:
        array = array.rechunk({1: 3})
    if array.ndim == 1 and len(array.chunks[0]) > 1:
        array = array.rechunk(3)
    return array.map_blocks(_acceleration_chunk, n, m, dtype=np.float64, meta=np.empty((0,) * array.ndim))
