"""geoharm._model - any spherical-harmonic gravity model, up to degree
MAX_MODEL_DEGREE (2700): loaded from an ICGEM file (geoharm.load) or made
from tables (geoharm.Model), and evaluated as the compiled-in model is,
by the same C++ engine as every other interface (the same bits)."""

from __future__ import annotations

import numbers
import os
from typing import Any, AnyStr, Optional, SupportsIndex, Tuple, Union

import numpy as np
import numpy.typing as npt

from . import _arguments, _core

ModelError = _core.ModelError

_NORMALIZATIONS = ("fully_normalized", "unnormalized")


def _text(raw: bytes) -> str:
    """A name or tide system as the engine holds it (a file's bytes, which
    need not be UTF-8), as text."""
    return raw.decode("utf-8", errors="replace")


def _without_nul(value: AnyStr, name: str, what: str) -> AnyStr:
    """value (str or bytes), refused when it holds a NUL (C text ends there)."""
    if (b"\0" if isinstance(value, bytes) else "\0") in value:
        raise ValueError(f"{name} ({what}) must not contain a NUL character")
    return value


def _path_bytes(path: Any) -> bytes:
    """A file's name as the loader takes it: a str encoded as Python
    encodes file names (os.fsencode: UTF-8 on Windows and in UTF-8
    locales), bytes as they are."""
    try:
        name = os.fspath(path)
    except TypeError:
        kind = type(path).__name__
        raise TypeError(f"path must be a str, bytes or os.PathLike (a file's name), not {kind}") from None
    return os.fsencode(_without_nul(name, "path", "a file's name"))


def _epoch_bytes(epoch: Any) -> Optional[bytes]:
    """The epoch's text for the loader: a str as it is; a real number as
    the shortest text that reads back as its double (repr(float)),
    converted to a double whatever the caller's rounding mode."""
    if epoch is None:
        return None
    if isinstance(epoch, str):
        return _without_nul(epoch, "epoch", "a decimal year or a date yyyy-mm-dd").encode("utf-8", "replace")
    if isinstance(epoch, (bool, np.bool_)) or not isinstance(epoch, numbers.Real):
        what = "a bool" if isinstance(epoch, (bool, np.bool_)) else type(epoch).__name__
        raise TypeError(f"epoch must be a decimal year (a real number or str), a date 'yyyy-mm-dd' or None, not {what}")
    return repr(_arguments.real_number(epoch, "epoch")).encode("ascii")


def _square(shape: Tuple[int, ...]) -> None:
    """Refuses any shape of a table but (L+1, L+1), L >= 0."""
    if len(shape) != 2 or shape[0] != shape[1] or shape[0] < 1:
        raise ValueError(f"C must have shape (L+1, L+1), the degrees and orders 0..L, not {shape}")


def _tables(C: Any, S: Any) -> Tuple[np.ndarray, np.ndarray]:
    """C and S as C-contiguous float64 arrays of one shape (L+1, L+1)."""
    call = _arguments.Call("geoharm.Model", "give numpy arrays (compute it first)")
    c = _arguments.float64_array(C, "C", call, "(L+1, L+1)", _square)

    def like_c(shape: Tuple[int, ...]) -> None:
        if shape != c.shape:
            raise ValueError(f"S must have the shape of C, {c.shape}, not {shape}")

    s = _arguments.float64_array(S, "S", call, "(L+1, L+1)", like_c)
    return np.ascontiguousarray(c), np.ascontiguousarray(s)


def _name_bytes(name: Any) -> Optional[bytes]:
    """A model's name as the engine takes it: UTF-8 (the engine keeps its
    first 127 bytes, cut at a character boundary)."""
    if name is None:
        return None
    if not isinstance(name, str):
        raise TypeError(f"name must be a str or None, not {type(name).__name__}")
    return _without_nul(name, "name", "the model's name").encode("utf-8", "replace")


def _unnormalized(normalization: Any) -> bool:
    """Whether the tables are unnormalised; 'fully_normalized' or
    'unnormalized' alone."""
    if not isinstance(normalization, str):
        raise TypeError(f"normalization must be a str, not {type(normalization).__name__}")
    if normalization not in _NORMALIZATIONS:
        raise ValueError(f"normalization must be 'fully_normalized' or 'unnormalized', not {normalization!r}")
    return normalization == "unnormalized"


def _model_call(function: str) -> _arguments.Call:
    """Model.<function>, whose dask counterpart takes the model."""
    return _arguments.Call(
        f"Model.{function}",
        f"geoharm.dask.{function}(positions, N, M, model=model) evaluates a dask array lazily, chunk by chunk",
    )


_ACCELERATION = _model_call("acceleration")
_GRADIENT = _model_call("gradient")


class Model:
    """A spherical-harmonic gravity model of degree L (0 to
    geoharm.MAX_MODEL_DEGREE, 2700), evaluated by the same engine as every
    interface of geoharm: for a given model, the same bits from Python,
    C++, C, MATLAB, Octave and the tools, on every build, at every vector
    level and thread count.

    Model(gm, radius, C, S, normalization='fully_normalized', name=None)
    makes one from tables; geoharm.load(path, epoch=None) reads one from
    an ICGEM file.  A model never changes once made: any number of threads
    may evaluate it at once.

    Parameters
    ----------
    gm : float
        GM (m^3/s^2), finite and above zero.
    radius : float
        The reference radius R (m), finite and above zero.
    C, S : array_like, shape (L+1, L+1)
        C[n, m] and S[n, m], the coefficients of degree n and order m:
        anything numpy converts to real numbers (converted to float64,
        rounded to nearest whatever the caller's rounding mode; no bool,
        no dask array).  Entries above the diagonal (m > n) and S[:, 0]
        must be zero, every entry finite.  C[0, 0] is used as given (1:
        the central term GM/r; 0: the harmonic part alone).
    normalization : str, default 'fully_normalized'
        'fully_normalized' (geodesy's 4-pi normalisation, without the
        Condon-Shortley phase: the ICGEM files' fully_normalized) or
        'unnormalized' (converted once, when the model is made).
    name : str or None
        The model's name: its first 127 bytes of UTF-8 are kept, cut at
        a character boundary (as a file's modelname).

    Attributes (read-only)
    ----------------------
    gm, radius : float
    max_degree : int
        L.
    normalization : str
        Of the tables (or the file) the model was made from.
    tide_system : str
        As the file gives it ('' when it does not, and for tables).
    name : str
        As given, or the file's modelname ('' when none).
    C, S : numpy.ndarray, float64, shape (L+1, L+1), read-only
        The fully normalised coefficients, zero above the diagonal; made
        anew at each access.
    is_compiled_in : bool
        Whether the model is, number for number, geoharm's compiled-in
        degree-10 model given unnormalised (GM, R_REF, degree 10,
        C[0, 0] = 1, its tables): then it is evaluated by the compiled-in
        routines, and gives geoharm.acceleration's bits.

    Raises
    ------
    TypeError
        An argument of the wrong type (a bool, a str for a number, tables
        that are not real numbers, ...).
    ValueError
        Tables not of shape (L+1, L+1), or not both of one shape; a
        normalization other than the two; a name with a NUL or too long.
    geoharm.ModelError (a ValueError)
        Numbers the engine refuses: GM or R not finite or not above zero,
        L above 2700, a coefficient that is not finite, a nonzero entry
        above the diagonal or in S[:, 0]; the message names it, as
        "C(2,5) is not zero, but order 5 is above degree 2".

    Pickling a model (multiprocessing, Dask's processes) takes its fully
    normalised tables; the model unpickled gives the same bits (a model
    that is the compiled-in one is made again from the compiled-in tables,
    and is that model again).
    """

    __slots__ = ("_engine", "_normalization", "_tide_system")
    _engine: _core.GravityModel
    _normalization: str
    _tide_system: str

    def __init__(
        self,
        gm: float,
        radius: float,
        C: npt.ArrayLike,
        S: npt.ArrayLike,
        normalization: str = "fully_normalized",
        name: Optional[str] = None,
    ) -> None:
        gm_value = _arguments.real_number(gm, "gm")
        radius_value = _arguments.real_number(radius, "radius")
        c, s = _tables(C, S)
        unnormalized = _unnormalized(normalization)
        name_bytes = _name_bytes(name)
        self._hold(_core.GravityModel.from_tables(gm_value, radius_value, c, s, unnormalized, name_bytes))

    def _hold(
        self, core: _core.GravityModel, normalization: Optional[str] = None, tide_system: Optional[str] = None
    ) -> None:
        """Holds the engine's model; what it was made from as the engine
        tells, unless given (a model unpickled)."""
        self._engine = core
        self._normalization = core.normalization if normalization is None else normalization
        self._tide_system = _text(core.tide_system) if tide_system is None else tide_system

    @classmethod
    def _of(
        cls, core: _core.GravityModel, normalization: Optional[str] = None, tide_system: Optional[str] = None
    ) -> "Model":
        model = cls.__new__(cls)
        model._hold(core, normalization, tide_system)
        return model

    @property
    def gm(self) -> float:
        """GM, m^3/s^2."""
        return float(self._engine.gm)

    @property
    def radius(self) -> float:
        """The reference radius R, m."""
        return float(self._engine.radius)

    @property
    def max_degree(self) -> int:
        """The model's degree L."""
        return int(self._engine.max_degree)

    @property
    def normalization(self) -> str:
        """'fully_normalized' or 'unnormalized': of the tables or the file
        the model was made from (C and S are fully normalised whatever it
        is)."""
        return self._normalization

    @property
    def tide_system(self) -> str:
        """The file's tide_system ('' when it has none, or for tables)."""
        return self._tide_system

    @property
    def name(self) -> str:
        """The model's name ('' when it has none)."""
        return _text(self._engine.name)

    @property
    def is_compiled_in(self) -> bool:
        """Whether the model is geoharm's compiled-in one, evaluated by its
        routines (geoharm.acceleration's bits)."""
        return bool(self._engine.is_compiled_in)

    @property
    def C(self) -> npt.NDArray[np.float64]:
        """The fully normalised C[n, m], shape (L+1, L+1), zero above the
        diagonal; a new read-only array."""
        table: npt.NDArray[np.float64] = self._engine.C()
        table.flags.writeable = False
        return table

    @property
    def S(self) -> npt.NDArray[np.float64]:
        """The fully normalised S[n, m], shape (L+1, L+1), zero above the
        diagonal and in S[:, 0]; a new read-only array."""
        table: npt.NDArray[np.float64] = self._engine.S()
        table.flags.writeable = False
        return table

    def __repr__(self) -> str:
        tide = f", {self._tide_system}" if self._tide_system else ""
        compiled = ", the compiled-in model" if self.is_compiled_in else ""
        return (
            f"<geoharm.Model {self.name!r}: degree {self.max_degree}, GM {self.gm!r} m^3/s^2, "
            f"R {self.radius!r} m, {self._normalization}{tide}{compiled}>"
        )

    def _limits(self, N: Optional[SupportsIndex], M: Optional[SupportsIndex]) -> Tuple[int, int]:
        return model_limits(N, M, self.max_degree)

    def acceleration(
        self, positions: npt.ArrayLike, N: Optional[SupportsIndex] = None, M: Optional[SupportsIndex] = None
    ) -> npt.NDArray[np.float64]:
        """The model's gravitational acceleration at one point or many.

        Parameters
        ----------
        positions : array_like, shape (3,) or (K, 3)
            x, y, z in metres, in the model's body-fixed axes: read, and
            refused, exactly as geoharm.acceleration reads them (any real
            dtype, layout and strides; no bool; no dask array:
            geoharm.dask.acceleration(positions, N, M, model=model) takes
            one).
        N : int or None, default None (the model's degree)
            Largest degree: above the model's degree the same as its
            degree; N <= 1 the central term alone (GM/r times C[0, 0]).
        M : int or None, default None (the model's degree)
            Largest order: M > N the same as N; M < 0 the central term
            alone.  N and M: an int, a numpy integer or anything with
            __index__ (beyond a C int the same as the nearest one); a
            bool or a float is refused.

        Returns
        -------
        numpy.ndarray
            float64, shape (3,) for one point, (K, 3) for K points (in
            columns, as geoharm.acceleration): a_x, a_y, a_z in m/s^2.
            Row k has the bits of the C++ GravityModel::acceleration at
            point k.

        Raises
        ------
        TypeError, ValueError
            As geoharm.acceleration, with the same messages.

        Notes
        -----
        Many points go through one call of the engine (GravityModel::
        accelerationMany: vector lanes and the core's threads) with the
        interpreter lock released, the model held by the call; one point
        with the lock held.
        """
        array = _arguments.positions(positions, _ACCELERATION)
        n, m = self._limits(N, M)
        result: npt.NDArray[np.float64] = self._engine.acceleration(array, n, m)
        return result

    def gradient(
        self, positions: npt.ArrayLike, N: Optional[SupportsIndex] = None, M: Optional[SupportsIndex] = None
    ) -> Tuple[npt.NDArray[np.float64], npt.NDArray[np.float64], npt.NDArray[np.float64]]:
        """The model's gravity-gradient tensor, acceleration and potential at
        one point or many, from one evaluation per point.

        Parameters
        ----------
        positions, N, M
            As for Model.acceleration.

        Returns
        -------
        (T, A, U) : tuple of numpy.ndarray, float64
            As geoharm.gradient returns them: T (K, 3, 3), T[k, i, j] =
            d a_i / d x_j (1/s^2, exactly symmetric); A (K, 3), bit for bit
            Model.acceleration's; U (K,), the potential (m^2/s^2, a = grad
            U); for one point (3, 3), (3,) and ().

        Raises
        ------
        TypeError, ValueError
            As geoharm.gradient, with the same messages.
        """
        array = _arguments.positions(positions, _GRADIENT)
        n, m = self._limits(N, M)
        result: Tuple[npt.NDArray[np.float64], npt.NDArray[np.float64], npt.NDArray[np.float64]]
        result = self._engine.gradient(array, n, m)
        return result

    def __copy__(self) -> "Model":
        return self  # never changed: a copy is the model itself

    def __deepcopy__(self, memo: Any) -> "Model":
        return self

    def __reduce__(self) -> Tuple[Any, Tuple[Any, ...]]:
        """The model as pickle keeps it: its numbers, the fully normalised
        tables' lower triangles (nothing of the tables for the compiled-in
        model, made again from its own)."""
        core = self._engine
        lower: Optional[Tuple[np.ndarray, np.ndarray]] = None
        if not core.is_compiled_in:
            rows = np.tril_indices(core.max_degree + 1)
            lower = (core.C()[rows], core.S()[rows])
        return _unpickled, (core.gm, core.radius, core.max_degree, lower, bytes(core.name), self._normalization,
                            self._tide_system)


def model_limits(N: Optional[SupportsIndex], M: Optional[SupportsIndex], degree: int) -> Tuple[int, int]:
    """A model's N and M as C ints: None is its degree."""
    low, high = _arguments.INT_LOW, _arguments.INT_HIGH
    n = degree if N is None else _arguments.limit(N, "N", "maximum degree", low, high)
    m = degree if M is None else _arguments.limit(M, "M", "maximum order", low, high)
    return n, m


def _unpickled(
    gm: float,
    radius: float,
    degree: int,
    lower: Optional[Tuple[np.ndarray, np.ndarray]],
    name: bytes,
    normalization: str,
    tide_system: str,
) -> Model:
    """A pickled model made again (Model.__reduce__)."""
    if lower is None:
        gm, radius, degree, C, S = _core.compiled_in_tables()
        C[0, 0] = 1.0
        core = _core.GravityModel.from_tables(gm, radius, C, S, True, name)
    else:
        C = np.zeros((degree + 1, degree + 1))
        S = np.zeros((degree + 1, degree + 1))
        rows = np.tril_indices(degree + 1)
        C[rows], S[rows] = lower
        core = _core.GravityModel.from_tables(gm, radius, C, S, False, name)
    return Model._of(core, normalization, tide_system)


def compiled_in_model() -> Model:
    """geoharm's compiled-in degree-10 model as a Model, as MATLAB's
    geoharm_model() gives it: GM, R_REF, its unnormalised tables with
    C[0, 0] = 1, normalization 'unnormalized'.  Its is_compiled_in is True
    and it gives geoharm.acceleration's and geoharm.gradient's bits; its C
    and S are the tables fully normalised (a Model made from those is
    another model, whose results may differ in the last bits).

    >>> import geoharm
    >>> geoharm.compiled_in_model().is_compiled_in
    True
    """
    return _unpickled(0.0, 0.0, 0, None, b"compiled-in", "unnormalized", "")


def load(path: Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"], epoch: Union[None, str, float] = None
         ) -> Model:
    """The model of an ICGEM file (.gfc, formats 1.0 and 2.0).

    Parameters
    ----------
    path : str, bytes or os.PathLike
        The file.  A str is encoded as Python encodes file names
        (os.fsencode: UTF-8 on Windows and in UTF-8 locales), bytes are
        taken as they are.
    epoch : str, float or None, default None
        The epoch of the file's time-variable terms (gfct, trnd, acos,
        asin): a decimal year, a Julian epoch year ("2010.5" or 2010.5;
        a number is passed as the shortest text that reads back as its
        double, repr(float(epoch))), or a date "yyyy-mm-dd" (00:00 of that
        day).  None: a file with such terms is refused.  Not a bool.

    Returns
    -------
    geoharm.Model

    Raises
    ------
    TypeError
        path not a str, bytes or os.PathLike; epoch not a str, a real
        number or None.
    ValueError
        path or epoch holding a NUL character.
    geoharm.ModelError (a ValueError)
        The file refused (also one that cannot be opened or read), or the
        epoch's text: the loader's message, "<file>:<line>: <what>" (or
        "<file>: <what>" for the file as a whole; "epoch '...': <what>").

    Notes
    -----
    The interpreter lock is released while the file is read.
    """
    path_bytes = _path_bytes(path)
    epoch_bytes = _epoch_bytes(epoch)
    return Model._of(_core.GravityModel.load(path_bytes, epoch_bytes))
