"""geoharm.gradient from the installed wheel: (T, A, U) against
geoharm-eval --gradient bit for bit, for the identity records (one call
per run of equal N and M), layouts, shapes, limits, threads; A against
geoharm.acceleration; refusals as acceleration's."""

import numpy as np
import pytest

import geoharm
from conftest import (RECORDS, assert_lock_released, assert_same_doubles, eval_records, random_points,
                      results_in_fresh_interpreter, run_eval)
from test_identity import read_records, runs


def split(lines):
    """geoharm-eval --gradient rows (U, a, T) as (T, A, U)."""
    return lines[:, 4:].reshape(-1, 3, 3), lines[:, 1:4], lines[:, 0]


def assert_same_gradient(got, expected_lines):
    for part, expected in zip(got, split(expected_lines)):
        assert_same_doubles(part, expected.reshape(part.shape))


def test_identity_records_through_python():
    points, limits = read_records()
    expected = run_eval(RECORDS.read_text(), len(points), "--gradient")
    T, A, U = np.empty((len(points), 3, 3)), np.empty((len(points), 3)), np.empty(len(points))
    for start, stop, n, m in runs(limits):
        block = points[start:stop]
        T[start:stop], A[start:stop], U[start:stop] = geoharm.gradient(block if stop - start > 1 else block[0], n, m)
    assert_same_gradient((T, A, U), expected)


POINTS = random_points(3000, seed=21)
POINTS[::101] = [0.0, 0.0, 0.0]
POINTS[3::103] = [np.nan, 7e6, 0.0]

LAYOUTS = {
    "C order": lambda: POINTS,
    "Fortran order": lambda: np.asfortranarray(POINTS),
    "every other row": lambda: np.repeat(POINTS, 2, axis=0)[::2],
    "rows reversed": lambda: POINTS[::-1].copy()[::-1],
    "list of lists": lambda: POINTS.tolist(),
}


@pytest.mark.parametrize("layout", LAYOUTS)
def test_every_layout_gives_the_same_bits(layout):
    assert_same_gradient(geoharm.gradient(LAYOUTS[layout](), 10, 10), eval_records(POINTS, 10, 10, "--gradient"))


@pytest.mark.parametrize("given_n, given_m, n, m", [(200, 200, 127, 127), (-1, 5, -1, 5), (4, 2, 4, 2),
                                                    (np.int64(7), np.uint8(3), 7, 3)])
def test_limits(given_n, given_m, n, m):
    assert_same_gradient(geoharm.gradient(POINTS[:50], given_n, given_m), eval_records(POINTS[:50], n, m, "--gradient"))


def test_shapes_and_the_acceleration():
    T, A, U = geoharm.gradient(POINTS[0])
    assert (T.shape, A.shape, U.shape) == ((3, 3), (3,), ())
    assert all(x.dtype == np.float64 for x in (T, A, U))
    assert_same_gradient((T[None], A[None], U[None]), eval_records(POINTS[:1], 10, 10, "--gradient"))
    T, A, U = geoharm.gradient(np.zeros((0, 3)))
    assert (T.shape, A.shape, U.shape) == ((0, 3, 3), (0, 3), (0,))
    T, A, U = geoharm.gradient(POINTS, 8, 5)
    assert_same_doubles(A, geoharm.acceleration(POINTS, 8, 5))
    finite = np.isfinite(T).all(axis=(1, 2))
    assert finite.sum() > 2900
    assert np.array_equal(T[finite].view(np.uint64), T[finite].transpose(0, 2, 1).view(np.uint64))


@pytest.mark.parametrize("threads", ["1", "3"])
def test_thread_count_changes_no_bit(threads):
    points = random_points(30000, seed=8)
    expected = geoharm.gradient(points)
    got = results_in_fresh_interpreter("geoharm.gradient(points)", points, {"GEOHARM_NUM_THREADS": threads})
    for g, want in zip(got, expected):
        assert np.array_equal(g.view(np.uint64), want.view(np.uint64))


@pytest.mark.parametrize("positions, n, m, exception, message", [
    ("abc", 10, 10, TypeError, "positions must be real numbers"),
    (np.zeros((3, 4)), 10, 10, ValueError, r"positions must have shape \(3,\) or \(K, 3\), not \(3, 4\)"),
    (POINTS, 10.0, 10, TypeError, r"^N \(maximum degree\) must be an integer .*int\(N\)"),
    (POINTS, 10, np.bool_(False), TypeError, r"^M \(maximum order\) must be an integer, not a bool$"),
])
def test_refusals(positions, n, m, exception, message):
    with pytest.raises(exception, match=message):
        geoharm.gradient(positions, n, m)


def test_the_interpreter_lock_is_released_during_many_points():
    assert_lock_released(lambda points: geoharm.gradient(points))
