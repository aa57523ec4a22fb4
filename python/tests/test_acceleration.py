"""geoharm.acceleration from the installed wheel: layouts, limits, refusals,
threads, the package's data; every result against geoharm-eval's bits."""

import ctypes
import ctypes.util
import fractions
import gc
import importlib.metadata
import multiprocessing
import os
import pathlib
import pickle
import re
import subprocess
import sys
import threading
import tracemalloc

import numpy as np
import pytest

import geoharm
from conftest import (SOURCE_DIR, assert_lock_released, assert_same_doubles, environment_path, eval_records,
                      random_points, results_in_fresh_interpreter)

POINTS = np.array(
    [
        [7000000.0, 1000000.0, 2000000.0],
        [-6500000.0, 2500000.0, -1500000.0],
        [0.0, 0.0, 6600000.0],
        [488603.552, 8134012.108, -9947002.437],
        [0.0, 0.0, 0.0],
        [np.nan, 1.0, 2.0],
        [np.inf, 0.0, 7e6],
    ]
)


def test_installed_package_is_the_wheel():
    """The tests exercise the package pip installed, not a build folder."""
    venv = environment_path("GEOHARM_VENV").resolve()
    assert venv in pathlib.Path(geoharm.__file__).resolve().parents
    assert venv in pathlib.Path(geoharm._core.__file__).resolve().parents


def test_version_and_constants():
    """__version__ is the core's, which is version.h's, which is the
    wheel's; the constants are those of <geoharm/model.h>."""
    header = (SOURCE_DIR / "field/include/geoharm/version.h").read_text()
    parts = [re.search(rf"#define GEOHARM_VERSION_{p} +(\d+)", header).group(1) for p in ("MAJOR", "MINOR", "PATCH")]
    assert geoharm.__version__ == ".".join(parts)
    assert importlib.metadata.version("geoharm") == geoharm.__version__
    model = (SOURCE_DIR / "field/include/geoharm/model.h").read_text()
    for name in ("GM", "R_REF", "MAX_DEGREE"):
        value = re.search(rf"constexpr \w+ {name} = ([0-9.]+);", model).group(1)
        assert getattr(geoharm, name) == float(value), name
    assert type(geoharm.MAX_DEGREE) is int and type(geoharm.GM) is float


def reference(n=10, m=10):
    return eval_records(POINTS, n, m)


def rows_of_wider_array():
    wide = np.zeros((len(POINTS), 5))
    wide[:, 1:4] = POINTS
    return wide[:, 1:4]


def unaligned():
    raw = bytearray(POINTS.nbytes + 1)
    raw[1:] = POINTS.tobytes()
    array = np.frombuffer(raw, dtype=np.float64, offset=1, count=POINTS.size).reshape(POINTS.shape)
    assert not array.flags.aligned
    return array


def every_other_row():
    doubled = np.repeat(POINTS, 2, axis=0)
    doubled[1::2] = -1.0
    return doubled[::2]


# Every way numpy lays out the same points: each must give the same bits.
LAYOUTS = {
    "C order": lambda: POINTS.copy(),
    "Fortran order": lambda: np.asfortranarray(POINTS),
    "transposed (3, K)": lambda: POINTS.T.copy().T,
    "Fortran order, columns reversed": lambda: np.asfortranarray(POINTS[:, ::-1])[:, ::-1],
    "columns of a wider array": rows_of_wider_array,
    "every other row": every_other_row,
    "rows reversed": lambda: POINTS[::-1].copy()[::-1],
    "columns reversed": lambda: POINTS[:, ::-1].copy()[:, ::-1],
    "unaligned": unaligned,
    "read-only": lambda: np.frombuffer(POINTS.tobytes(), dtype=np.float64).reshape(POINTS.shape),
    "list of lists": lambda: POINTS.tolist(),
    "tuple of tuples": lambda: tuple(map(tuple, POINTS.tolist())),
    "objects: Python floats": lambda: np.array(POINTS.tolist(), dtype=object),
    "big-endian": lambda: POINTS.astype(">f8"),
    "pickled": lambda: pickle.loads(pickle.dumps(POINTS)),
    "pickled, big-endian": lambda: pickle.loads(pickle.dumps(POINTS.astype(">f8"))),
    "ctypes array": lambda: np.ctypeslib.as_array((ctypes.c_double * POINTS.size)(*POINTS.flat)).reshape(-1, 3),
    "dtype with metadata": lambda: POINTS.astype(np.dtype(np.float64, metadata={"unit": "m"})),
}


@pytest.mark.parametrize("layout", LAYOUTS)
def test_every_layout_gives_the_same_bits(layout):
    assert_same_doubles(geoharm.acceleration(LAYOUTS[layout]()), reference())


def test_a_multiprocessing_map_gives_the_bits_of_a_plain_call():  # arguments and results pickled
    points = random_points(3000, seed=4)
    parts = [points[:1000], points[1000:], points[0], points[1]]
    with multiprocessing.get_context("spawn").Pool(2) as pool:
        results = pool.map(geoharm.acceleration, parts)
    for got, part in zip(results, parts):
        assert_same_doubles(got, geoharm.acceleration(part))


LIBM = ctypes.CDLL(ctypes.util.find_library("m"))  # fesetround: x87 and SSE modes
ROUNDING_MODES = {"upward": 0x800, "downward": 0x400, "toward zero": 0xC00}  # <fenv.h> on x86


# Positions that numpy must convert to float64, each rounded otherwise by
# every mode than by round to nearest.
CONVERTED = {
    "int64 above 2^53": lambda: np.array([2**53 + 1, 2**53 + 3, -(2**53 + 3)], dtype=np.int64),
    "long double": lambda: np.array([7e6, 1e6, 2e6], np.longdouble) + np.ldexp(np.longdouble([1, -1, 1]), -40),
    "Python objects": lambda: [fractions.Fraction(21_000_001, 3), fractions.Fraction(-3_000_001, 3), 2**60 + 1],
}


@pytest.mark.parametrize("function", ["acceleration", "gradient"])
@pytest.mark.parametrize("mode", ROUNDING_MODES)
@pytest.mark.parametrize("positions", CONVERTED)
def test_conversion_does_not_depend_on_the_callers_rounding_mode(positions, mode, function):
    given = CONVERTED[positions]()
    call = getattr(geoharm, function)
    expected = call(given)
    LIBM.fesetround(ROUNDING_MODES[mode])
    try:
        converted_in_mode = np.array(given).astype(np.float64)
        got, mode_after = call(given), LIBM.fegetround()
    finally:
        LIBM.fesetround(0)
    assert (converted_in_mode != np.array(given).astype(np.float64)).any(), "the case does not depend on the mode"
    assert mode_after == ROUNDING_MODES[mode]
    for g, e in zip(*(r if isinstance(r, tuple) else (r,) for r in (got, expected))):
        assert_same_doubles(g, e)


def test_integer_and_narrow_float_positions_convert_exactly():
    """Integer and float32 positions are converted to float64 first."""
    integral = np.array([[7000000, 1000000, 2000000], [-6500000, 2500000, -1500000]])
    for dtype in (np.int32, np.int64, np.float32, np.uint32):
        points = np.abs(integral) if dtype is np.uint32 else integral
        expected = eval_records(points.astype(np.float64), 10, 10)
        assert_same_doubles(geoharm.acceleration(points.astype(dtype)), expected)
    big = [10**30, fractions.Fraction(7, 2), 2.0]  # Python objects: int beyond 64 bits, a fraction
    assert_same_doubles(geoharm.acceleration(big), eval_records([1e30, 3.5, 2.0], 10, 10)[0])


def test_broadcast_rows_and_shapes():
    """A row broadcast K times (stride 0), one point, one row, no rows."""
    point = POINTS[0]
    one = geoharm.acceleration(point)
    assert one.shape == (3,) and one.dtype == np.float64
    assert_same_doubles(one, reference()[0])
    assert_same_doubles(geoharm.acceleration(np.broadcast_to(point, (5, 3))), np.tile(reference()[:1], (5, 1)))
    assert_same_doubles(geoharm.acceleration(POINTS[:1]), reference()[:1])
    empty = geoharm.acceleration(np.zeros((0, 3)))
    assert empty.shape == (0, 3) and empty.dtype == np.float64
    strided_point = np.zeros(9)
    strided_point[::3] = point
    assert_same_doubles(geoharm.acceleration(strided_point[::3]), reference()[0])


DEFAULT_NAN = 0x7FF8000000000000


def test_every_nan_is_the_default_quiet_nan():
    """Whatever NaN goes in (either sign, any payload) or arises (the
    origin, infinities), every NaN that comes out is 0x7FF8000000000000,
    through the one-point and the many-point path."""
    odd_nans = np.array([0xFFF8000000000000, 0x7FF0000000000001, 0xFFFFFFFFFFFFFFFF], dtype=np.uint64).view(np.float64)
    points = np.array([[odd_nans[0], 7e6, 0.0], [0.0, odd_nans[1], 7e6], [7e6, 0.0, odd_nans[2]],
                       [0.0, 0.0, 0.0], [-0.0, -0.0, -0.0], [np.inf, 0.0, 7e6], [-np.inf, np.inf, 0.0]])
    for n, m in ((10, 10), (3, 2), (-1, -1)):
        many = geoharm.acceleration(np.tile(points, (3000, 1)), n, m)
        one = np.array([geoharm.acceleration(p, n, m) for p in points])
        for result in (many, one):
            assert np.isnan(result[:5]).all()  # the NaN positions and the origins
            bits = np.ascontiguousarray(result).view(np.uint64)
            nan = np.isnan(result)
            assert (bits[nan] == DEFAULT_NAN).all(), sorted({hex(b) for b in bits[nan]})


def test_more_points_than_memory_raise_memory_error():
    """2^40 points (one row broadcast: no memory of their own) need 24 TiB
    for the result: MemoryError, and the process goes on."""
    with pytest.raises(MemoryError):
        geoharm.acceleration(np.broadcast_to(POINTS[0], (2**40, 3)))
    assert_same_doubles(geoharm.acceleration(POINTS), reference())


def test_result_is_new_and_positions_untouched():
    points = POINTS.copy()
    a = geoharm.acceleration(points)
    b = geoharm.acceleration(points)
    assert not np.shares_memory(a, b) and not np.shares_memory(a, points)
    assert_same_doubles(points, POINTS)
    assert a.flags.writeable and a.flags.f_contiguous


class Index:
    """An object that is an integer through __index__ (as numpy scalars are)."""

    def __init__(self, value):
        self.value = value

    def __index__(self):
        return self.value


# (N, M as given, N, M as geoharm-eval reads them: -128..127).
LIMITS = [
    (10, 10, 10, 10),
    (4, 2, 4, 2),
    (2, 0, 2, 0),
    (0, 0, 0, 0),
    (1, 1, 1, 1),
    (-1, 5, -1, 5),
    (5, -1, 5, -1),
    (3, 10, 3, 10),
    (12, 12, 12, 12),
    (200, 200, 127, 127),
    (10**100, -(10**100), 127, -128),
    (np.int8(7), np.uint8(200), 7, 127),
    (np.int64(-300), np.uint64(2**64 - 1), -128, 127),
    (np.array(6), np.int16(3), 6, 3),
    (Index(9), Index(-2**40), 9, -128),
]


@pytest.mark.parametrize("given_n, given_m, n, m", LIMITS)
def test_limits_read_as_the_matlab_functions_read_them(given_n, given_m, n, m):
    assert_same_doubles(geoharm.acceleration(POINTS, given_n, given_m), reference(n, m))


def test_limits_default_to_the_whole_model():
    assert_same_doubles(geoharm.acceleration(POINTS), reference(10, 10))
    assert_same_doubles(geoharm.acceleration(POINTS, 4), reference(4, 10))
    assert_same_doubles(geoharm.acceleration(POINTS, M=3), reference(10, 3))


POSITION_TYPE = "positions must be real numbers"
SHAPE = r"positions must have shape \(3,\) or \(K, 3\)"
# (positions, N, M, exception, message pattern): one row per refusal.
REFUSALS = [
    ("abc", 10, 10, TypeError, POSITION_TYPE + r".*dtype <U3"),
    (["1", "2", "3"], 10, 10, TypeError, POSITION_TYPE + r".*dtype <U1"),
    (np.array([b"1", b"2", b"3"]), 10, 10, TypeError, POSITION_TYPE + r".*dtype \|S1"),
    ([1 + 2j, 0, 0], 10, 10, TypeError, POSITION_TYPE + r".*dtype complex128"),
    ([True, False, True], 10, 10, TypeError, POSITION_TYPE + r".*dtype bool"),
    (None, 10, 10, TypeError, POSITION_TYPE + r".*, not NoneType"),
    ([1.0, None, 3.0], 10, 10, TypeError, POSITION_TYPE + r".*, not NoneType"),
    ([1.0, "2", 3.0], 10, 10, TypeError, POSITION_TYPE + r".*dtype <U32"),
    (np.array([1.0, "2", 3.0], dtype=object), 10, 10, TypeError, POSITION_TYPE + r".*, not str"),
    (np.array([1.0, True, 3.0], dtype=object), 10, 10, TypeError, POSITION_TYPE + r".*, not bool"),
    (np.array([1.0, np.True_, 3.0], dtype=object), 10, 10, TypeError, POSITION_TYPE + r".*, not bool"),
    ([True, 1e6, 2e6], 10, 10, TypeError, POSITION_TYPE + r".*, not bool$"),
    ([[7e6, 0.0, 0.0], (0.0, np.False_, 7e6)], 10, 10, TypeError, POSITION_TYPE + r".*, not bool"),
    ([np.zeros(3), np.ones(3, dtype=bool)], 10, 10, TypeError, POSITION_TYPE + r".*dtype bool$"),
    ([np.array([7e6, 1, True], dtype=object)], 10, 10, TypeError, POSITION_TYPE + r".*, not bool$"),
    (np.array(["2020-01-01"] * 3, dtype="datetime64[D]"), 10, 10, TypeError, POSITION_TYPE + r".*datetime64"),
    (np.zeros(3, dtype=[("x", "f8")]), 10, 10, TypeError, POSITION_TYPE),
    ([[1.0, 2.0, 3.0], [1.0, 2.0]], 10, 10, ValueError, SHAPE + r": .*inhomogeneous"),
    (np.zeros(4), 10, 10, ValueError, SHAPE + r", not \(4,\)"),
    (np.zeros((3, 1)), 10, 10, ValueError, SHAPE + r", not \(3, 1\)"),
    (np.zeros((3, 5)), 10, 10, ValueError, SHAPE + r", not \(3, 5\): .*points are rows.*positions\.T"),
    (np.zeros((2, 3, 3)), 10, 10, ValueError, SHAPE + r", not \(2, 3, 3\)"),
    (np.float64(7e6), 10, 10, ValueError, SHAPE + r", not \(\)"),
    ([], 10, 10, ValueError, SHAPE + r", not \(0,\)"),
    (np.zeros((0, 2)), 10, 10, ValueError, SHAPE + r", not \(0, 2\)"),
    (POINTS, 10.5, 10, TypeError, r"^N \(maximum degree\) must be an integer \(int or numpy integer\), not float; int\(N\)"),
    (POINTS, 10.0, 10, TypeError, r"^N \(maximum degree\) must be an integer .*not float; int\(N\) converts"),
    (POINTS, np.float64(10), 10, TypeError, r"^N \(maximum degree\) .* not float64; int\(N\)"),
    (POINTS, "10", 10, TypeError, r"^N \(maximum degree\) must be an integer \(int or numpy integer\), not str$"),
    (POINTS, None, 10, TypeError, r"^N \(maximum degree\) .*, not NoneType$"),
    (POINTS, True, 10, TypeError, r"^N \(maximum degree\) must be an integer, not a bool$"),
    (POINTS, np.bool_(True), 10, TypeError, r"^N \(maximum degree\) must be an integer, not a bool$"),
    (POINTS, np.array([10]), 10, TypeError, r"^N \(maximum degree\) .*, not ndarray$"),
    (POINTS, 10, 2.5, TypeError, r"^M \(maximum order\) must be an integer .*not float; int\(M\)"),
    (POINTS, 10, False, TypeError, r"^M \(maximum order\) must be an integer, not a bool$"),
    (POINTS, 10, [3], TypeError, r"^M \(maximum order\) .*, not list$"),
    # The order of the checks: positions, then N, then M.
    ("abc", 1.5, 2.5, TypeError, POSITION_TYPE),
    (np.zeros(4), 1.5, 2.5, ValueError, SHAPE),
    (POINTS, 1.5, 2.5, TypeError, r"^N "),
]


@pytest.mark.parametrize("positions, n, m, exception, message", REFUSALS)
def test_refusals(positions, n, m, exception, message):
    with pytest.raises(exception, match=message):
        geoharm.acceleration(positions, n, m)


def test_a_refused_call_leaves_nothing_behind():
    """Refused calls change no argument, keep no reference to one and
    leave no memory allocated (traced over 2000 of them)."""
    points = np.zeros((1000, 2))
    limit = Index(3)
    bad_calls = [(points, 10, 10), (POINTS, 10.5, 10), (POINTS, limit, 2.5), ([1.0, None, 3.0], 10, 10)]
    references = sys.getrefcount(points), sys.getrefcount(limit)
    for call in bad_calls:  # warm-up: caches of numpy and Python fill once
        with pytest.raises((TypeError, ValueError)):
            geoharm.acceleration(*call)
    gc.collect()
    tracemalloc.start()
    before = tracemalloc.get_traced_memory()[0]
    for _ in range(500):
        for call in bad_calls:
            try:
                geoharm.acceleration(*call)
            except (TypeError, ValueError):
                pass
    gc.collect()
    grown = tracemalloc.get_traced_memory()[0] - before
    tracemalloc.stop()
    assert grown < 4096, f"{grown} bytes more after 2000 refused calls"
    assert (sys.getrefcount(points), sys.getrefcount(limit)) == references
    assert not points.any() and points.shape == (1000, 2)


def test_nothing_kept_from_a_successful_call():
    """A result is the only reference the call leaves: dropping it frees it."""
    points = random_points(2000)
    references = sys.getrefcount(points)
    a = geoharm.acceleration(points)
    assert sys.getrefcount(a) == 2 and sys.getrefcount(points) == references


@pytest.mark.parametrize("threads", ["1", "2", "3", "64", None])
def test_thread_count_changes_no_bit(threads):
    """From 8192 points the core splits the work over threads; the thread
    count (GEOHARM_NUM_THREADS, read when geoharm is imported) changes
    nothing."""
    points = random_points(40000, seed=7)
    points[::997] = [0.0, 0.0, 0.0]
    points[5::1009] = [np.nan, 1.0, 1.0]
    expected = eval_records(points, 10, 10)
    got = results_in_fresh_interpreter("geoharm.acceleration(points)", points, {"GEOHARM_NUM_THREADS": threads})
    assert_same_doubles(got[0], expected)


@pytest.mark.parametrize("level, problem", [("avx9", "which is not a level"), ("sse2", None)])
def test_a_forced_level(level, problem):
    """GEOHARM_SIMD_LEVEL: a level every processor runs gives the same
    bits; a name that is no level makes every evaluation raise."""
    points = random_points(100, seed=4)
    call = "(np.array([geoharm.simd_level()]), geoharm.acceleration(points))"
    if problem is None:
        level_name, got = results_in_fresh_interpreter(call, points, {"GEOHARM_SIMD_LEVEL": level})
        assert level_name[0] == level
        assert_same_doubles(got, geoharm.acceleration(points))
    else:
        with pytest.raises(subprocess.CalledProcessError) as refused:
            results_in_fresh_interpreter(call, points, {"GEOHARM_SIMD_LEVEL": level})
        assert f'RuntimeError: GEOHARM_SIMD_LEVEL is "{level}", {problem}' in refused.value.stderr


def test_the_interpreter_lock_is_released_during_many_points():
    assert_lock_released(lambda points: geoharm.acceleration(points))


def test_calls_from_several_threads_at_once():
    points = [random_points(20000 + 1000 * i, seed=i) for i in range(4)]
    expected = [geoharm.acceleration(p) for p in points]
    results = [None] * 4

    def run(i):
        for _ in range(3):
            results[i] = geoharm.acceleration(points[i])

    workers = [threading.Thread(target=run, args=(i,)) for i in range(4)]
    for w in workers:
        w.start()
    for w in workers:
        w.join()
    for r, e in zip(results, expected):
        assert_same_doubles(r, e)


def test_help_tells_how_to_call():
    """help(geoharm.acceleration) is enough to use it: the signature and
    what each argument and the result are."""
    text = geoharm.acceleration.__doc__
    for needed in ("positions : array_like, shape (3,) or (K, 3)", "N : int, default 10", "M : int, default 10",
                   "Returns", "Raises", "TypeError", "ValueError", "m/s^2", "GEOHARM_NUM_THREADS"):
        assert needed in text, needed


def test_typing_files_are_installed():
    package = pathlib.Path(geoharm.__file__).parent
    assert (package / "py.typed").is_file() and (package / "_core.pyi").is_file()
    stub = (package / "_core.pyi").read_text()
    for name in ("def acceleration", "def version", "GM: float", "R_REF: float", "MAX_DEGREE: int"):
        assert name in stub
    for name in ("acceleration", "version", "GM", "R_REF", "MAX_DEGREE"):
        assert hasattr(geoharm._core, name)
