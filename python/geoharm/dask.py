"""geoharm.dask - the acceleration, and the gradient, of positions held in
a dask array.

    import dask.array as da
    import geoharm.dask
    positions = da.from_array(p, chunks=(250_000, 3))   # p: (K, 3)
    a = geoharm.dask.acceleration(positions, 10, 10)     # lazy, (K, 3)
    a.compute()
    T, A, U = geoharm.dask.gradient(positions, 10, 10)   # lazy, as geoharm.gradient
    model = geoharm.load("model.gfc")
    a = geoharm.dask.acceleration(positions, model=model)  # that model's, to its degree

Each chunk of rows is evaluated by one call of the core
(geoharm.acceleration, or model.acceleration) in the task that holds it:
on a distributed cluster, on the worker where the chunk lives, with the
core's threads there.  Every row has the bits of the one-process call: a
point's result never depends on the chunk it is in, the worker, or the
thread count.  The workers need geoharm installed (the same wheel) to
unpickle the task; a model travels in the tasks, pickled (its tables).
"""

from __future__ import annotations

from typing import Optional, SupportsIndex, Tuple

import dask.array as da
import numpy as np
import numpy.typing as npt

import geoharm

from . import _arguments, _model

__all__ = ["acceleration", "gradient"]


def _acceleration_chunk(chunk: np.ndarray, n: int, m: int, model: Optional[geoharm.Model]) -> np.ndarray:
    """One chunk of rows through the core (runs where the chunk is)."""
    if model is None:
        return geoharm.acceleration(chunk, n, m)
    return model.acceleration(chunk, n, m)


def _gradient_chunk(
    chunk: np.ndarray, n: int, m: int, model: Optional[geoharm.Model]
) -> Tuple[np.ndarray, np.ndarray, np.ndarray]:
    """One chunk of rows through the core, T, A and U at once."""
    if model is None:
        return geoharm.gradient(chunk, n, m)
    return model.gradient(chunk, n, m)


def _checked(
    positions: da.Array | npt.ArrayLike,
    N: Optional[SupportsIndex],
    M: Optional[SupportsIndex],
    model: Optional[geoharm.Model],
    function: str,
) -> Tuple[da.Array, int, int]:
    """positions as a dask array whose rows are whole (chunks along the
    rows alone), and the limits; refused as geoharm.acceleration (or
    model.acceleration) refuses.  Anything but a dask array is checked and
    converted as geoharm.acceleration converts it, then chunked by dask."""
    if isinstance(positions, da.Array):
        array = positions
        _arguments.check_real_kind(array.dtype)
        _arguments.check_shape(array.shape)
    else:
        array = da.asarray(_arguments.positions(positions, _arguments.call_of(function)))
    if model is not None and not isinstance(model, geoharm.Model):
        raise TypeError(f"model must be a geoharm.Model or None, not {type(model).__name__}")
    if model is None:
        n = _arguments.limit(10 if N is None else N, "N", "maximum degree")
        m = _arguments.limit(10 if M is None else M, "M", "maximum order")
    else:
        n, m = _model.model_limits(N, M, model.max_degree)
    if len(array.chunks[-1]) > 1:
        array = array.rechunk({array.ndim - 1: 3})
    return array, n, m


def acceleration(
    positions: da.Array | npt.ArrayLike,
    N: Optional[SupportsIndex] = None,
    M: Optional[SupportsIndex] = None,
    model: Optional[geoharm.Model] = None,
) -> da.Array:
    """The gravitational acceleration at a dask array of positions, lazily.

    Parameters
    ----------
    positions : dask.array.Array (or array_like), shape (K, 3) or (3,)
        x, y, z in metres (Earth-fixed axes), one point per row, chunked
        along the rows (chunks that split the three columns are joined
        first); any integer or float dtype.  K may be unknown (nan) until
        computed.  Anything else (a numpy array, a list) is read as
        geoharm.acceleration reads it, then chunked as
        dask.array.asarray chunks it: in pieces of whole rows of at most
        dask's array.chunk-size (128 MiB unless configured), so a large
        array becomes several chunks.
    N, M : int or None, default None (10, or the model's degree)
        Largest degree and order, read as geoharm.acceleration (or
        model.acceleration) reads them (checked here, at once).
    model : geoharm.Model or None, default None
        The model to evaluate (geoharm.load, geoharm.Model); None: the
        compiled-in degree-10 model.  With the process scheduler or a
        cluster, each task carries the model, pickled.

    Returns
    -------
    dask.array.Array
        float64, the shape and row chunks of positions: a_x, a_y, a_z in
        m/s^2.  Nothing is evaluated until it is computed; then each chunk
        goes through one geoharm.acceleration (model.acceleration) call
        where it is.

    Raises
    ------
    TypeError
        positions' dtype is not integer or float (anything else: what
        geoharm.acceleration refuses with TypeError); N or M not an
        integer; model not a geoharm.Model.
    ValueError
        positions are not of shape (3,) or (K, 3).
    """
    array, n, m = _checked(positions, N, M, model, "acceleration")
    return array.map_blocks(_acceleration_chunk, n, m, model, dtype=np.float64, meta=np.empty((0,) * array.ndim))


def gradient(
    positions: da.Array | npt.ArrayLike,
    N: Optional[SupportsIndex] = None,
    M: Optional[SupportsIndex] = None,
    model: Optional[geoharm.Model] = None,
) -> Tuple[da.Array, da.Array, da.Array]:
    """The gravity-gradient tensor, the acceleration and the potential at a
    dask array of positions, lazily.

    Parameters
    ----------
    positions, N, M, model
        As for geoharm.dask.acceleration.

    Returns
    -------
    (T, A, U) : tuple of dask.array.Array, float64
        Shapes (K, 3, 3), (K, 3), (K,) (for one point (3, 3), (3,), ()),
        with the row chunks of positions: what geoharm.gradient (or
        model.gradient) returns, chunk by chunk.  Each chunk goes through
        one such call where it is, once for all three (compute them together:
        dask.compute(T, A, U)).

    Raises
    ------
    TypeError, ValueError
        As geoharm.dask.acceleration, at once.
    """
    array, n, m = _checked(positions, N, M, model, "gradient")
    T, A, U = da.apply_gufunc(
        _gradient_chunk, "(i)->(i,i),(i),()", array, n=n, m=m, model=model, output_dtypes=(np.float64,) * 3
    )
    return T, A, U
