"""geoharm - the Earth's gravitational acceleration from a spherical-harmonic
model of degree and order 10.

The same numbers, to the last bit, as the MATLAB and Octave functions
geoharm and geoharm_batch and the C++ library: every result comes from the
one C++ core, unchanged.

    >>> import geoharm
    >>> a = geoharm.acceleration([7000000.0, 1000000.0, 2000000.0])

Functions
    acceleration(positions, N=10, M=10)  one point (3,) or many (K, 3)
    gradient(positions, N=10, M=10)      (T, A, U): the gravity-gradient
                                         tensor, the acceleration and the
                                         potential
    geoharm.dask.acceleration, .gradient the same on a dask array, chunk by
                                         chunk where the chunks are
Constants
    GM          gravitational parameter of the model (m^3/s^2)
    R_REF       reference radius of the expansion (m)
    MAX_DEGREE  highest degree and order of the model's terms (10)
    __version__ the core's version, "MAJOR.MINOR.PATCH"
    simd_level() the vector routines in use ("sse2" ... "avx512f_fma"),
                chosen once when the package is imported (GEOHARM_SIMD_LEVEL)

Units and axes: positions in metres, Earth-fixed Cartesian axes with the
origin at the centre of mass; accelerations in m/s^2 in the same axes;
the gradient tensor T[i, j] = d a_i / d x_j in 1/s^2; the potential U
(a = grad U, GM/r for the point mass) in m^2/s^2.
"""

from __future__ import annotations

import itertools
import numbers
import operator
import sys
from typing import Any, SupportsIndex, Tuple

import numpy as np
import numpy.typing as npt

from . import _core

GM: float = _core.GM
R_REF: float = _core.R_REF
MAX_DEGREE: int = _core.MAX_DEGREE
__version__: str = _core.version()

__all__ = ["acceleration", "gradient", "simd_level", "GM", "R_REF", "MAX_DEGREE", "__version__"]


def simd_level() -> str:
    """The level of vector routines the core uses: "sse2", "avx2",
    "avx2_fma", "avx512f" or "avx512f_fma" (every level gives the same
    bits).  Chosen once, when the package is imported, for the processor
    or as the environment variable GEOHARM_SIMD_LEVEL names it; "refused"
    when that names routines this processor cannot use, and then every
    evaluation raises RuntimeError saying why."""
    return _core.simd_level()

# The limits travel to the core as int; any integer beyond these acts as
# they do (the core saturates to -128..127 as MATLAB converts to int8, and
# the model clamps to 10 or takes the point mass).
_LIMIT_LOW = -128
_LIMIT_HIGH = 127

# dtype kinds of real numbers numpy converts to float64: signed and
# unsigned integers, floats.  Booleans, complex numbers, strings, bytes,
# dates and structured records are refused.
_REAL_KINDS = "iuf"
_FLOAT64 = np.dtype(np.float64)
_NOT_REAL = "positions must be real numbers (integers or floats, converted to float64), not "
_PLAIN_KINDS = frozenset((float, int))
_SEQUENCE_KINDS = frozenset((list, tuple))


def _limit(value: Any, name: str, what: str) -> int:
    """N or M as the core's int: an integer (int, numpy integer, anything
    with __index__), not a bool and not a float, saturated to -128..127."""
    if type(value) is int:  # the usual case, first (bool is a subclass, not int itself)
        return min(max(value, _LIMIT_LOW), _LIMIT_HIGH)
    if isinstance(value, (bool, np.bool_)):
        raise TypeError(f"{name} ({what}) must be an integer, not a bool")
    try:
        number = operator.index(value)
    except TypeError:
        hint = f"; int({name}) converts a whole-numbered float" if isinstance(value, (float, np.floating)) else ""
        raise TypeError(
            f"{name} ({what}) must be an integer (int or numpy integer), not {type(value).__name__}{hint}"
        ) from None
    return min(max(number, _LIMIT_LOW), _LIMIT_HIGH)


def _check_real_kind(dtype: np.dtype) -> None:
    """Refuses a dtype whose values are not real numbers."""
    if dtype.kind not in _REAL_KINDS:
        raise TypeError(_NOT_REAL + f"an array of dtype {dtype}")


def _check_shape(shape: tuple) -> None:
    """Refuses any shape but (3,) and (K, 3), with a hint for (3, K)."""
    if len(shape) not in (1, 2) or shape[-1] != 3:
        hint = ""
        if len(shape) == 2 and shape[0] == 3:
            hint = ": a point per column, but points are rows: pass its transpose, positions.T, columns x, y, z"
        raise ValueError(f"positions must have shape (3,) or (K, 3), not {shape}{hint}")


def _refuse_dask(value: Any, function: str, verb: str = "is") -> None:
    """Refuses a dask collection (numpy would compute it at once, silently).
    dask need not be installed: a program that has not imported it holds
    no dask collection."""
    dask = sys.modules.get("dask")
    if dask is not None and dask.is_dask_collection(value):
        raise TypeError(
            f"positions {verb} a dask {type(value).__name__}: geoharm.{function} would compute it at once; "
            f"geoharm.dask.{function} evaluates a dask array lazily, chunk by chunk"
        )


def _scan_sequence(sequence: Any, function: str) -> Tuple[str, bool]:
    """Nested lists and tuples of positions, before numpy reads them:
    (what numpy would turn into a number silently: the first bool ("bool",
    "bool_") or array of bools ("an array of dtype bool"), or ""; whether
    they hold Python floats and ints alone).  A dask collection, which
    numpy would compute, is refused at once."""
    found = ""
    plain = True
    values = sequence
    # A level of nesting at a time, its values' types gathered by map and
    # set (a Python loop over each value would take longer than numpy's
    # own reading of them); no deeper than numpy's 32 dimensions, so that
    # a list that holds itself ends too (numpy then refuses it).
    for _ in range(32):
        kinds = set(map(type, values))
        if kinds <= _PLAIN_KINDS:
            break
        if not kinds <= _PLAIN_KINDS | _SEQUENCE_KINDS:
            plain = False
            for value in values:
                kind = type(value)
                if kind in _PLAIN_KINDS or kind in _SEQUENCE_KINDS:
                    continue
                if isinstance(value, (bool, np.bool_)):
                    found = found or kind.__name__
                elif isinstance(value, np.ndarray) and value.dtype.kind == "b":
                    found = found or f"an array of dtype {value.dtype}"
                else:
                    _refuse_dask(value, function, "holds")
        nested = values if kinds <= _SEQUENCE_KINDS else [v for v in values if type(v) in _SEQUENCE_KINDS]
        values = list(itertools.chain.from_iterable(nested))
    return found, plain


def _as_array(positions: Any) -> np.ndarray:
    """np.asarray(positions), its refusal of ragged sequences in the
    package's words."""
    try:
        return np.asarray(positions)
    except ValueError as error:
        # Nested sequences of unequal lengths (or deeper than numpy goes).
        raise ValueError(f"positions must have shape (3,) or (K, 3): {error}") from None


def _converted(positions: Any, bool_found: str = "") -> np.ndarray:
    """positions (not yet a float64 array) checked and converted to one;
    bool_found: what _scan_sequence found in them.  numpy rounds what is
    not a double (an int64 beyond 2^53, a long double, a numpy integer in
    a list) in the caller's rounding mode: _positions runs this in the
    fixed floating-point state wherever it may round."""
    array = _as_array(positions)
    if bool_found and array.dtype.kind != "b":  # bools among numbers (all bools: refused by dtype)
        raise TypeError(_NOT_REAL + bool_found)
    if array.dtype.kind == "O":
        # Python objects (ints beyond 64 bits, fractions, None, ...): each
        # must be a real number, which float() then converts.
        for value in array.flat:
            if isinstance(value, bool) or not isinstance(value, numbers.Real):
                raise TypeError(_NOT_REAL + type(value).__name__)
        _check_shape(array.shape)
    else:
        _check_real_kind(array.dtype)
        _check_shape(array.shape)
    return array.astype(np.float64, copy=False)


def _positions(positions: npt.ArrayLike, function: str) -> np.ndarray:
    """positions as a float64 array of shape (3,) or (K, 3), copied only
    where the values must be converted; `function` names the caller in
    messages."""
    if type(positions) is np.ndarray and positions.dtype is _FLOAT64:  # the usual case, first
        _check_shape(positions.shape)
        return positions
    _refuse_dask(positions, function)
    bool_found = ""
    if isinstance(positions, (list, tuple)):
        bool_found, plain = _scan_sequence(positions, function)
        if plain:
            # Python floats and ints alone: numpy takes floats as they are
            # and rounds ints to float in software (int.__float__), in any
            # mode; an array of ints is left to be rounded below.
            positions = _as_array(positions)
            if positions.dtype == _FLOAT64:
                _check_shape(positions.shape)
                return positions
    return _core.call_in_fixed_fp_state(_converted, positions, bool_found)


def acceleration(
    positions: npt.ArrayLike, N: SupportsIndex = 10, M: SupportsIndex = 10
) -> npt.NDArray[np.float64]:
    """The gravitational acceleration of the degree-10 model at one point or
    many.

    Parameters
    ----------
    positions : array_like, shape (3,) or (K, 3)
        x, y, z in metres (Earth-fixed axes, origin at the centre of mass):
        one point, or one point per row.  Anything numpy converts to an
        array of real numbers: a list, a tuple, an array of any integer or
        float dtype, in any memory order, with any strides; converted to
        float64, rounded to nearest whatever the caller's rounding mode.
        No bool anywhere (not even among numbers: True is no 1 m), no dask
        array (geoharm.dask takes those).  K may be 0.  Not checked for
        range: NaN and infinities pass through under IEEE rules (a NaN
        coordinate, or the origin, gives NaN).
    N : int, default 10
        Largest degree of the terms.
    M : int, default 10
        Largest order of the terms.  N and M are read as the MATLAB
        functions read them: above 10 the same as 10 (the model stops
        there); N <= 1 or M < 0 the central (point-mass) term alone;
        M > N the same as M = N.  An int, a numpy integer or any object
        with __index__ (so 10**100 is 10); a bool or a float is refused:
        int(N) converts a whole-numbered float.

    Returns
    -------
    numpy.ndarray
        float64, shape (3,) for one point, (K, 3) in row order for K
        points: a_x, a_y, a_z in m/s^2 in the same axes, row k for point
        k.  Each row has the bits that geoharm(p, N, M) gives in MATLAB or
        Octave and geoharm::acceleration in C++.

    Raises
    ------
    TypeError
        positions are not real numbers (strings, complex or bool values,
        None, wherever they appear) or are a dask array; N or M is not an
        integer.
    ValueError
        positions are not of shape (3,) or (K, 3) (for (3, K) the message
        says to pass the transpose).
    The arguments are checked in the order positions, N, M; nothing is
    evaluated or kept when one is refused.

    Notes
    -----
    Many points go through one call of the core: several points at once
    in the lanes of the processor's vector registers and, from 8192 points
    on, over threads (one per 4096 points, at most the processors the
    process may use and at most GEOHARM_NUM_THREADS when that variable is
    set when the package is imported), with the interpreter lock released, so other Python threads run
    meanwhile.  Neither the thread count nor the vector width changes a
    bit.  One point (shape (3,)) is evaluated with the lock held: it takes
    less time than handing the lock over.

    Examples
    --------
    >>> a = geoharm.acceleration([7000000.0, 1000000.0, 2000000.0], 10, 10)
    >>> a.shape
    (3,)
    >>> geoharm.acceleration(np.zeros((0, 3))).shape
    (0, 3)
    """
    array = _positions(positions, "acceleration")
    n = _limit(N, "N", "maximum degree")
    m = _limit(M, "M", "maximum order")
    return _core.acceleration(array, n, m)


def gradient(
    positions: npt.ArrayLike, N: SupportsIndex = 10, M: SupportsIndex = 10
) -> Tuple[npt.NDArray[np.float64], npt.NDArray[np.float64], npt.NDArray[np.float64]]:
    """The gravity-gradient tensor, the acceleration and the potential of
    the degree-10 model at one point or many, from one evaluation per
    point.

    Parameters
    ----------
    positions : array_like, shape (3,) or (K, 3)
        As for acceleration: x, y, z in metres, one point or one point per
        row, anything numpy converts to real numbers, any layout.
    N : int, default 10
        Largest degree.
    M : int, default 10
        Largest order; N and M as for acceleration (above 10 the same as
        10, N <= 1 or M < 0 the point mass alone, M > N as M = N; an
        integer, not a bool or a float).

    Returns
    -------
    (T, A, U) : tuple of numpy.ndarray, float64
        For K points: T of shape (K, 3, 3), T[k, i, j] = d a_i / d x_j at
        point k (1/s^2), symmetric exactly; A of shape (K, 3), the
        acceleration (m/s^2), bit for bit what acceleration returns; U of
        shape (K,), the potential (m^2/s^2), GM/r for the point mass.  For
        one point (shape (3,)): shapes (3, 3), (3,) and () (a 0-d array).
        The same bits as geoharm_gradient in MATLAB or Octave and
        geoharm::gradient in C++.

    Raises
    ------
    TypeError, ValueError
        As acceleration, with the same messages.

    Notes
    -----
    Threads and the interpreter lock as for acceleration: many points go
    through one call of the core (geoharm::gradientMany) with the lock
    released, on the core's threads; the thread count changes no bit.

    Examples
    --------
    >>> T, A, U = geoharm.gradient([7000000.0, 1000000.0, 2000000.0])
    >>> T.shape, A.shape, U.shape
    ((3, 3), (3,), ())
    """
    array = _positions(positions, "gradient")
    n = _limit(N, "N", "maximum degree")
    m = _limit(M, "M", "maximum order")
    return _core.gradient(array, n, m)
