"""Shared helpers of the Python package's tests.

The tests run against the package installed from the wheel into a virtual
environment (CTest's python_wheel_install), and compare with geoharm-eval,
the command-line evaluator of the same core: GEOHARM_EVAL names it,
GEOHARM_SOURCE_DIR the checkout, GEOHARM_VENV the environment.
"""

import os
import pathlib
import subprocess
import sys
import tempfile
import threading
import time

import numpy as np
import pytest


def environment_path(name: str) -> pathlib.Path:
    value = os.environ.get(name)
    if not value:
        raise RuntimeError(f"{name} is not set: run the tests through CTest (python_* tests)")
    return pathlib.Path(value)


# The core reads GEOHARM_NUM_THREADS once, when geoharm is imported (after
# this file): two threads for every test here, so that a many-point call
# lasts long enough for the interpreter-lock tests however many processors
# the machine has.  Tests of other thread counts run a fresh interpreter
# (results_in_fresh_interpreter).
os.environ["GEOHARM_NUM_THREADS"] = "2"

SOURCE_DIR = environment_path("GEOHARM_SOURCE_DIR")
RECORDS = SOURCE_DIR / "tests" / "data" / "identity_records.txt"


def eval_records(points, n: int, m: int, *options: str) -> np.ndarray:
    """geoharm-eval's results for points (rows x, y, z) at one N and M
    (-128..127), as a (K, 3) float64 array (with --gradient (K, 13): U,
    a, T row by row).  The positions travel as hex floats, so geoharm-eval
    reads exactly these doubles."""
    points = np.asarray(points, dtype=np.float64).reshape(-1, 3)
    text = "".join(f"{x.hex()} {y.hex()} {z.hex()} {n} {m}\n" for x, y, z in points.tolist())
    return run_eval(text, len(points), *options)


def run_eval(text: str, count: int, *options: str) -> np.ndarray:
    """geoharm-eval --bits [options] on the records `text` (count of them):
    one row of doubles per record, every bit as geoharm-eval computed it
    (NaN included)."""
    out = subprocess.run(
        [str(environment_path("GEOHARM_EVAL")), "--bits", *options], input=text, capture_output=True, text=True,
        check=True,
    ).stdout
    rows = [[int(v, 16) for v in line.split()] for line in out.splitlines()]
    assert len(rows) == count, f"geoharm-eval wrote {len(rows)} lines for {count} records"
    return np.array(rows, dtype=np.uint64).reshape(count, -1).view(np.float64)


def assert_same_doubles(actual, expected) -> None:
    """Equal shapes, and every double the same bits, NaN included (every
    NaN of the core is the default quiet NaN 0x7FF8000000000000)."""
    actual = np.asarray(actual)
    expected = np.asarray(expected)
    assert actual.dtype == np.float64 and actual.shape == expected.shape, (actual.dtype, actual.shape, expected.shape)
    a = np.ascontiguousarray(actual).reshape(-1)
    e = np.ascontiguousarray(expected).reshape(-1)
    differ = a.view(np.uint64) != e.view(np.uint64)
    if differ.any():
        where = np.flatnonzero(differ)[:5]
        shown = ", ".join(f"[{i}] {a[i].view(np.uint64):#018x} != {e[i].view(np.uint64):#018x}" for i in where)
        pytest.fail(f"{differ.sum()} doubles differ: {shown}")


def random_points(count: int, seed: int = 1, r_min: float = 6.4e6, r_max: float = 4.2e7) -> np.ndarray:
    """count points (rows) at a radius uniform in [r_min, r_max) m,
    direction uniform on the sphere."""
    rng = np.random.default_rng(seed)
    direction = rng.normal(size=(count, 3))
    direction /= np.linalg.norm(direction, axis=1)[:, None]
    return direction * rng.uniform(r_min, r_max, size=(count, 1))


def assert_lock_released(evaluate) -> None:
    """While one Python thread runs evaluate(points) on 2 million points,
    another runs Python code: its ticks fall inside the call (none could
    if the call held the interpreter lock).  Two worker threads: the call
    lasts tens of milliseconds on any machine, however many processors
    it has, and leaves the ticking thread a processor where
    there are more than two."""
    points = random_points(2_000_000, seed=3)
    _assert_ticks_inside(evaluate, points)


def results_in_fresh_interpreter(call: str, points, environment: dict) -> list:
    """The arrays that `call` (an expression on geoharm and points) gives
    in a new Python interpreter whose environment has `environment`'s
    variables set (a value None: unset): the core reads GEOHARM_NUM_THREADS
    and GEOHARM_SIMD_LEVEL once, when it is imported."""
    env = dict(os.environ)
    for name, value in environment.items():
        if value is None:
            env.pop(name, None)
        else:
            env[name] = value
    script = ("import sys, numpy as np, geoharm\n"
              "points = np.load(sys.argv[1])\n"
              f"result = {call}\n"
              "result = result if isinstance(result, tuple) else (result,)\n"
              "np.savez(sys.argv[2], *result)\n")
    with tempfile.TemporaryDirectory() as folder:
        given, got = os.path.join(folder, "points.npy"), os.path.join(folder, "result.npz")
        np.save(given, np.asarray(points))
        subprocess.run([sys.executable, "-c", script, given, got], env=env, check=True, capture_output=True,
                       text=True)
        with np.load(got) as data:
            return [data[f"arr_{i}"] for i in range(len(data.files))]


def _assert_ticks_inside(evaluate, points) -> None:
    evaluate(points[:10000])
    span = {}

    def run():
        span["start"] = time.perf_counter()
        evaluate(points)
        span["end"] = time.perf_counter()

    ticks = []
    worker = threading.Thread(target=run)
    worker.start()
    while worker.is_alive():
        ticks.append(time.perf_counter())
        time.sleep(0.0005)
    worker.join()
    duration = span["end"] - span["start"]
    inside = [t for t in ticks if span["start"] + 0.2 * duration < t < span["end"] - 0.2 * duration]
    assert len(inside) >= 3, f"{len(inside)} ticks of the other thread in the middle of a {duration:.3f} s call"
