"""geoharm - the Earth's gravitational acceleration from a spherical-harmonic
model of degree and order 10, and from any other such model (an ICGEM file
or tables of coefficients, up to degree 2700).

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
Other models
    load(path, epoch=None)               a Model from an ICGEM file (.gfc)
    Model(gm, radius, C, S, normalization='fully_normalized', name=None)
                                         a Model from tables; its
                                         acceleration(positions, N, M) and
                                         gradient(...) as the functions'
    compiled_in_model()                  the compiled-in model as a Model
                                         (its bits; MATLAB's geoharm_model())
    ModelError                           a refused file, epoch or table
                                         (a ValueError)
Constants
    GM          gravitational parameter of the model (m^3/s^2)
    R_REF       reference radius of the expansion (m)
    MAX_DEGREE  highest degree and order of the model's terms (10)
    MAX_MODEL_DEGREE  the highest degree of a Model (2700)
    __version__ the core's version, "MAJOR.MINOR.PATCH"
    simd_level() the vector routines in use ("sse2" ... "avx512f_fma"),
                chosen once when the package is imported (GEOHARM_SIMD_LEVEL)

Units and axes: positions in metres, Earth-fixed Cartesian axes with the
origin at the centre of mass; accelerations in m/s^2 in the same axes;
the gradient tensor T[i, j] = d a_i / d x_j in 1/s^2; the potential U
(a = grad U, GM/r for the point mass) in m^2/s^2.
"""

from __future__ import annotations

from typing import SupportsIndex, Tuple

import numpy as np
import numpy.typing as npt

from . import _arguments, _core
from ._model import Model, ModelError, compiled_in_model, load

GM: float = _core.GM
R_REF: float = _core.R_REF
MAX_DEGREE: int = _core.MAX_DEGREE
__version__: str = _core.version()

MAX_MODEL_DEGREE: int = _core.MAX_MODEL_DEGREE

__all__ = ["acceleration", "gradient", "simd_level", "GM", "R_REF", "MAX_DEGREE", "__version__", "Model",
           "ModelError", "load", "compiled_in_model", "MAX_MODEL_DEGREE"]


def simd_level() -> str:
    """The level of vector routines the core uses: "sse2", "avx2",
    "avx2_fma", "avx512f" or "avx512f_fma" (every level gives the same
    bits).  Chosen once, when the package is imported, for the processor
    or as the environment variable GEOHARM_SIMD_LEVEL names it; "refused"
    when that names routines this processor cannot use, and then every
    evaluation raises RuntimeError saying why."""
    return _core.simd_level()


_ACCELERATION = _arguments.call_of("acceleration")
_GRADIENT = _arguments.call_of("gradient")


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
    array = _arguments.positions(positions, _ACCELERATION)
    n = _arguments.limit(N, "N", "maximum degree")
    m = _arguments.limit(M, "M", "maximum order")
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
    array = _arguments.positions(positions, _GRADIENT)
    n = _arguments.limit(N, "N", "maximum degree")
    m = _arguments.limit(M, "M", "maximum order")
    return _core.gradient(array, n, m)
