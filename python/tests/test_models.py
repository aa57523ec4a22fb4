"""geoharm.load, geoharm.Model and geoharm.dask with a model: a synthetic
degree-70 (and 360) model's bits through every path (one point, many
points, layouts, pickle, a process pool, dask chunks, thread counts and
vector levels), a model made from tables against the file's, the
compiled-in model as a Model against geoharm.acceleration, refusals."""

import os
import fractions
import multiprocessing
import pathlib
import pickle
import subprocess

import dask
import dask.array as da
import numpy as np
import pytest

import geoharm
import geoharm.dask
from conftest import (SOURCE_DIR, assert_lock_released, assert_same_doubles, environment_path, random_points,
                      results_in_fresh_interpreter, run_eval)
from test_acceleration import LAYOUTS, POINTS

DATA = SOURCE_DIR / "tests" / "data" / "models"


def synthetic_file(folder: pathlib.Path, degree: int, seed: int) -> pathlib.Path:
    path = folder / f"synthetic_{degree}_{seed}.gfc"
    subprocess.run([str(environment_path("GEOHARM_MAKE_SYNTHETIC_MODEL")), "--degree", str(degree), "--seed",
                    str(seed), "--output", str(path)], check=True)
    return path


@pytest.fixture(scope="module")
def folder(tmp_path_factory):
    return tmp_path_factory.mktemp("models")


@pytest.fixture(scope="module")
def model_file(folder):
    return synthetic_file(folder, 70, 5)


@pytest.fixture(scope="module")
def model(model_file):
    return geoharm.load(model_file)


def sample_points():
    """Points near the surface and far, the poles and the axis, the origin
    and non-finite coordinates."""
    points = random_points(3000, seed=21, r_min=6.37e6, r_max=5e7)
    points[:8] = [[0.0, 0.0, 6.4e6], [0.0, 0.0, -7e6], [1e-3, 0.0, 6.5e6], [6378137.0, 0.0, 0.0],
                  [0.0, 0.0, 0.0], [np.nan, 7e6, 0.0], [np.inf, 0.0, 7e6], [1e200, 0.0, 0.0]]
    return points


def one_by_one(call, points):
    """call(point) for each point, stacked as the many-point call returns
    its results (several arrays for the gradient)."""
    results = [call(p) for p in points]
    if isinstance(results[0], tuple):
        return tuple(np.array(r) for r in zip(*results))
    return np.array(results)


def assert_same_results(got, expected):
    for g, e in zip(*(r if isinstance(r, tuple) else (r,) for r in (got, expected))):
        assert_same_doubles(g, e)


# N and M as given, and limits that mean the same for a model of degree 70.
EQUIVALENT_LIMITS = [
    ((None, None), (70, 70)),
    ((500, None), (70, 70)),
    ((10**100, np.uint64(2**64 - 1)), (70, 70)),
    ((30, 99), (30, 30)),
    ((np.int16(30), 12), (30, 12)),
    ((1, 5), (-1, -1)),
    ((-(10**100), 40), (-1, -1)),
    ((40, -3), (-1, -1)),
]


@pytest.mark.parametrize("function", ["acceleration", "gradient"])
@pytest.mark.parametrize("given, plain", EQUIVALENT_LIMITS)
def test_many_points_one_point_and_limits_give_the_same_bits(model, function, given, plain):
    """The many-point call (lanes, threads) and one-point calls (the C++
    GravityModel's one-point routine itself) agree bit for bit; limits
    beyond the model's degree or a C int act as their nearest."""
    points = sample_points()[:600]
    call = getattr(model, function)
    many = call(points, *given)
    assert_same_results(many, one_by_one(lambda p: call(p, *plain), points))
    if function == "gradient":
        assert_same_doubles(many[1], model.acceleration(points, *given))


def test_limits_change_the_result(model):
    """The limits reach the engine: each truncation gives other numbers."""
    point = sample_points()[3]  # at R, on the equator
    results = [model.acceleration(point, n, m).tobytes() for n, m in ((70, 70), (69, 70), (70, 69), (2, 0), (1, 1))]
    assert len(set(results)) == len(results)


@pytest.mark.parametrize("layout", LAYOUTS)
def test_every_layout_gives_the_same_bits(model, layout):
    assert_same_doubles(model.acceleration(LAYOUTS[layout](), 40, 33), model.acceleration(POINTS, 40, 33))


def test_a_degree_360_model_through_many_points_threads_and_pickle(folder):
    model = geoharm.load(synthetic_file(folder, 360, 2))
    points = sample_points()[:200]
    expected = one_by_one(model.gradient, points)
    assert_same_results(model.gradient(points), expected)
    assert_same_results(pickle.loads(pickle.dumps(model)).gradient(points), expected)


def same_model(a, b):
    """Equal in every attribute, the tables bit for bit."""
    for name in ("gm", "radius", "max_degree", "normalization", "tide_system", "name", "is_compiled_in"):
        assert getattr(a, name) == getattr(b, name), name
    assert_same_doubles(a.C, b.C)
    assert_same_doubles(a.S, b.S)


def compiled_in_tables():
    gm, radius, degree, C, S = geoharm._core.compiled_in_tables()
    C[0, 0] = 1.0
    return gm, radius, C, S


def compiled_in_model():
    """geoharm.compiled_in_model(), which is the model of the tables."""
    gm, radius, C, S = compiled_in_tables()
    model = geoharm.compiled_in_model()
    same_model(model, geoharm.Model(gm, radius, C, S, "unnormalized", name="compiled-in"))
    return model


# Each model, and how it is made again: every copy gives the model's bits.
def remade_by_pickle(model):
    copied = pickle.loads(pickle.dumps(model))
    same_model(copied, model)
    return copied


def remade_from_tables(model):
    return geoharm.Model(model.gm, model.radius, model.C, model.S, name=model.name)


@pytest.mark.parametrize("make", ["file", "unnormalised file", "time-variable file", "compiled in"])
@pytest.mark.parametrize("remake", [remade_by_pickle, remade_from_tables])
def test_a_model_made_again_gives_its_bits(model, make, remake):
    original = {"file": lambda: model, "unnormalised file": lambda: geoharm.load(DATA / "unnormalized_crlf.gfc"),
                "time-variable file": lambda: geoharm.load(DATA / "v2_two_intervals.gfc", "2012-03-04"),
                "compiled in": compiled_in_model}[make]()
    points = sample_points()[:300]
    copied = remake(original)
    if original.is_compiled_in and remake is remade_from_tables:
        assert not copied.is_compiled_in  # fully normalised: another model (test_the_compiled_in_model_...)
        return
    assert copied.is_compiled_in == original.is_compiled_in
    for function in ("acceleration", "gradient"):
        assert_same_results(getattr(copied, function)(points), getattr(original, function)(points))


def test_the_compiled_in_model_gives_the_functions_bits():
    """A Model of the compiled-in tables (unnormalised, C[0, 0] = 1) is
    recognised, and gives geoharm.acceleration's and geoharm.gradient's
    bits (which are geoharm-eval's: test_identity), also pickled and in a
    process of its own; a copy of it fully normalised, or changed by one
    ulp, is another model."""
    model = compiled_in_model()
    copies = [model, pickle.loads(pickle.dumps(model))]
    assert all(m.is_compiled_in for m in copies) and (model.max_degree, model.gm) == (10, geoharm.GM)
    points = sample_points()[:500]
    for m in copies:
        for n, mm in ((10, 10), (200, 200), (7, 3), (1, 1), (10, -1)):
            assert_same_doubles(m.acceleration(points, n, mm), geoharm.acceleration(points, n, mm))
            assert_same_results(m.gradient(points[:50], n, mm), geoharm.gradient(points[:50], n, mm))
            assert_same_doubles(m.acceleration(points[3], n, mm), geoharm.acceleration(points[3], n, mm))
    with multiprocessing.get_context("spawn").Pool(1) as pool:
        assert_same_doubles(pool.apply(model.acceleration, (points,)), geoharm.acceleration(points))
    gm, radius, C, S = compiled_in_tables()
    assert not geoharm.Model(gm, radius, model.C, model.S).is_compiled_in
    C[3, 1] = np.nextafter(C[3, 1], 1.0)
    assert not geoharm.Model(gm, radius, C, S, "unnormalized").is_compiled_in


def test_a_process_pool_gives_the_bits_of_a_plain_call(model):  # the model and results pickled
    points = sample_points()
    parts = [points[:1000], points[1000:], points[0], points[9]]
    with multiprocessing.get_context("spawn").Pool(2) as pool:
        results = pool.starmap(geoharm.Model.acceleration, [(model, part) for part in parts])
    for got, part in zip(results, parts):
        assert_same_doubles(got, model.acceleration(part))


@pytest.mark.parametrize("scheduler", ["threads", "processes"])
def test_dask_chunks_give_the_bits_of_one_call(model, scheduler):
    points = sample_points()
    positions = da.from_array(points, chunks=(700, 3))
    T, A, U = geoharm.dask.gradient(positions, 50, 20, model=model)
    got = dask.compute(geoharm.dask.acceleration(positions, model=model), T, A, U, scheduler=scheduler)
    assert_same_doubles(got[0], model.acceleration(points))
    assert_same_results(tuple(got[1:]), model.gradient(points, 50, 20))


@pytest.mark.parametrize("environment", [{"GEOHARM_NUM_THREADS": "1"}, {"GEOHARM_NUM_THREADS": "3"},
                                         {"GEOHARM_NUM_THREADS": None}, {"GEOHARM_SIMD_LEVEL": "sse2"}])
def test_thread_counts_and_levels_change_no_bit(model_file, model, environment):
    points = np.tile(sample_points(), (4, 1))  # 12000 points: threads from 8192 on
    got = results_in_fresh_interpreter(f"geoharm.load({str(model_file)!r}).gradient(points, 60, 45)", points,
                                       environment)
    assert_same_results(tuple(got), model.gradient(points, 60, 45))


def test_the_interpreter_lock_is_released_during_many_points():
    small = geoharm.load(DATA / "v1_sigmas_fortran.gfc")
    assert_lock_released(lambda points: small.acceleration(points))


# What a file gives: (file, epoch, name, gm, radius, degree, normalization, tide system, (n, m, C, S) of
# one coefficient, fully normalised).
FILES = [
    ("v1_sigmas_fortran.gfc", None, "TEST-V1-SIGMAS", 398600441500000.0, 6378136.3, 4, "fully_normalized",
     "tide_free", (4, 4, -0.1e-6, 0.5e-7)),
    ("v2_two_intervals.gfc", "2010-01-01", "TEST-V2-INTERVALS", 3.986004415e14, 6378136.3, 3, "fully_normalized",
     "zero_tide", (3, 1, 2.03e-6, 2.48e-7)),
    ("unnormalized_crlf.gfc", None, "A model   with spaces", 3.986005e14, 6378137.0, 2, "unnormalized", "",
     (0, 0, 1.0, 0.0)),
]


@pytest.mark.parametrize("file, epoch, name, gm, radius, degree, normalization, tide, coefficient", FILES)
def test_what_a_file_gives(file, epoch, name, gm, radius, degree, normalization, tide, coefficient):
    model = geoharm.load(DATA / file, epoch)
    assert (model.name, model.gm, model.radius, model.max_degree) == (name, gm, radius, degree)
    assert (model.normalization, model.tide_system) == (normalization, tide)
    n, m, c, s = coefficient
    assert (model.C[n, m], model.S[n, m]) == (c, s)
    for table in (model.C, model.S):
        assert table.shape == (degree + 1, degree + 1) and not table.flags.writeable
        assert not np.triu(table, 1).any()
    assert f"{name!r}: degree {degree}" in repr(model)


def test_a_long_name_is_cut_at_a_character_boundary():
    """The engine keeps 127 bytes of a name: the 64th 'é' does not fit."""
    assert geoharm.Model(4e14, 6e6, [[1.0]], [[0.0]], name="é" * 64).name == "é" * 63


def test_unnormalised_tables_as_the_file_gives_them():
    """The constructor's conversion of unnormalised tables is the file
    reader's: the same fully normalised tables and bits."""
    C, S = np.zeros((3, 3)), np.zeros((3, 3))
    C[0, 0], C[2, 0], C[2, 2], S[2, 2] = 1.0, -1.08263e-3, 1.574e-6, -9.03e-7
    made = geoharm.Model(3.986005e14, 6378137.0, C.tolist(), S, normalization="unnormalized",
                         name="A model   with spaces")
    loaded = geoharm.load(DATA / "unnormalized_crlf.gfc")
    same_model(made, loaded)
    assert_same_doubles(made.acceleration(sample_points()), loaded.acceleration(sample_points()))


# Tables of every form numpy takes: each gives the model of plain float64 arrays.
TABLE_FORMS = {
    "Fortran order": np.asfortranarray,
    "list of lists": lambda t: t.tolist(),
    "big-endian": lambda t: t.astype(">f8"),
    "pickled": lambda t: pickle.loads(pickle.dumps(t)),
    "dtype with metadata": lambda t: t.astype(np.dtype(np.float64, metadata={"unit": "1"})),
    "every other column of a wider array": lambda t: np.repeat(t, 2, axis=1)[:, ::2],
    "long double": lambda t: t.astype(np.longdouble),
}


@pytest.mark.parametrize("form", TABLE_FORMS)
def test_tables_of_every_form(model, form):
    made = geoharm.Model(model.gm, model.radius, TABLE_FORMS[form](model.C), TABLE_FORMS[form](model.S))
    assert_same_doubles(made.C, model.C)
    assert_same_doubles(made.S, model.S)


def test_paths_and_epochs_of_every_form(folder):
    """A path as str, bytes, os.PathLike, with letters beyond ASCII; an
    epoch as text or a number (its shortest text): the same model."""
    source = DATA / "v2_two_intervals.gfc"
    unusual = folder / "modèle µ.gfc"
    unusual.write_bytes(source.read_bytes())
    expected = geoharm.load(str(source), "2012.5")
    for path in (source, os.fsencode(source), unusual, str(unusual)):
        for epoch in ("2012.5", 2012.5, np.float64(2012.5), fractions.Fraction(4025, 2)):
            same_model(geoharm.load(path, epoch), expected)
    def c_of(epoch):
        return geoharm.load(source, epoch).C.tobytes()

    assert c_of(np.float32(2012.1)) == c_of(repr(float(np.float32(2012.1)))) != c_of("2012.1")
    assert c_of(2012) == c_of("2012.0") != c_of(2012.5)


def test_attributes_are_read_only(model):
    for name in ("gm", "radius", "max_degree", "normalization", "tide_system", "name", "C", "S", "is_compiled_in"):
        with pytest.raises(AttributeError):
            setattr(model, name, 1)
    with pytest.raises(ValueError):
        model.C[0, 0] = 2.0


def write(folder, name, text):
    path = folder / name
    path.write_text(text)
    return path


GOOD = np.zeros((3, 3))
GOOD[0, 0] = 1.0


def table(**entries):
    t = GOOD.copy()
    for key, value in entries.items():
        t[int(key[1]), int(key[2])] = value
    return t


MODEL_ERROR = geoharm.ModelError
Model = geoharm.Model
ZERO = np.zeros((3, 3))
TIME_VARIABLE = DATA / "v1_time_variable.gfc"
SMALL = geoharm.load(DATA / "v1_sigmas_fortran.gfc")
# (call of the folder, exception, message pattern): one row per refusal.
REFUSALS = [
    (lambda f: geoharm.load(123), TypeError, r"^path must be a str, bytes or os.PathLike \(a file's name\), not int$"),
    (lambda f: geoharm.load(True), TypeError, r"^path must be .*, not bool$"),
    (lambda f: geoharm.load("a\0b.gfc"), ValueError, r"^path \(a file's name\) must not contain a NUL character$"),
    (lambda f: geoharm.load(f / "missing.gfc"), MODEL_ERROR, r"missing\.gfc: cannot open it: No such file"),
    (lambda f: geoharm.load(write(f, "bad.gfc", "begin_of_head\nearth_gravity_constant 4e14\n"
                                                      "radius 6e6\nmax_degree 2\nend_of_head\ngfc 0 0 x 0\n")),
     MODEL_ERROR, r"^.*bad\.gfc:6: "),
    (lambda f: geoharm.load(TIME_VARIABLE), MODEL_ERROR, r"v1_time_variable\.gfc:\d+: .*epoch"),
    (lambda f: geoharm.load(TIME_VARIABLE, True), TypeError, r"^epoch must be .*, not a bool$"),
    (lambda f: geoharm.load(TIME_VARIABLE, [2010]), TypeError, r"^epoch must be .*, not list$"),
    (lambda f: geoharm.load(TIME_VARIABLE, "2010-13-01"), MODEL_ERROR,
     r"^epoch '2010-13-01': no such date"),
    (lambda f: geoharm.load(TIME_VARIABLE, float("nan")), MODEL_ERROR, r"^epoch 'nan': "),
    (lambda f: geoharm.load(TIME_VARIABLE, "2010\0"), ValueError, r"^epoch .* NUL"),
    (lambda f: Model(True, 6e6, GOOD, ZERO), TypeError, r"^gm must be a real number \(int or float\), not a bool$"),
    (lambda f: Model(4e14, "6e6", GOOD, ZERO), TypeError, r"^radius must be a real number .*, not str$"),
    (lambda f: Model(float("inf"), 6e6, GOOD, ZERO), MODEL_ERROR, r"^GM must be a finite number above zero"),
    (lambda f: Model(4e14, -6e6, GOOD, ZERO), MODEL_ERROR, r"^the reference radius must be a finite"),
    (lambda f: Model(4e14, 6e6, GOOD > 0, GOOD), TypeError, r"^C must be real numbers .*dtype bool$"),
    (lambda f: Model(4e14, 6e6, [[1.0, 0.0], [True, 0.0]], GOOD), TypeError, r"^C must be real numbers .*not bool$"),
    (lambda f: Model(4e14, 6e6, GOOD, [["0"] * 3] * 3), TypeError, r"^S must be real numbers .*dtype <U1$"),
    (lambda f: Model(4e14, 6e6, np.zeros((3, 4)), GOOD), ValueError, r"^C must have shape \(L\+1, L\+1\).*\(3, 4\)$"),
    (lambda f: Model(4e14, 6e6, np.zeros((0, 0)), GOOD), ValueError, r"^C must have shape .*not \(0, 0\)$"),
    (lambda f: Model(4e14, 6e6, GOOD, np.zeros((2, 2))), ValueError,
     r"^S must have the shape of C, \(3, 3\), not \(2, 2\)$"),
    (lambda f: Model(4e14, 6e6, table(c21=np.nan), ZERO), MODEL_ERROR, r"^C\(2,1\) is not a finite number$"),
    (lambda f: Model(4e14, 6e6, GOOD, table(c00=0.0, c22=-np.inf)), MODEL_ERROR, r"^S\(2,2\) is not a finite"),
    (lambda f: Model(4e14, 6e6, table(c12=1e-9), ZERO), MODEL_ERROR,
     r"^C\(1,2\) is not zero, but order 2 is above degree 1$"),
    (lambda f: Model(4e14, 6e6, GOOD, table(c00=0.0, c20=1e-9)), MODEL_ERROR, r"^S\(2,0\) is not zero"),
    (lambda f: Model(4e14, 6e6, GOOD, ZERO, "normalized"), ValueError,
     r"^normalization must be 'fully_normalized' or 'unnormalized', not 'normalized'$"),
    (lambda f: Model(4e14, 6e6, GOOD, ZERO, None), TypeError, r"^normalization must be a str, not NoneType$"),
    (lambda f: Model(4e14, 6e6, GOOD, ZERO, name=7), TypeError, r"^name must be a str or None, not int$"),
    (lambda f: Model(4e14, 6e6, GOOD, ZERO, name="a\0"), ValueError, r"^name .* NUL"),
    (lambda f: SMALL.acceleration(POINTS, 4.0), TypeError,
     r"^N \(maximum degree\) must be an integer .*not float; int\(N\)"),
    (lambda f: SMALL.gradient(POINTS, 4, True), TypeError,
     r"^M \(maximum order\) must be an integer, not a bool$"),
    (lambda f: SMALL.acceleration(POINTS.T), ValueError, r"positions\.T"),
    (lambda f: SMALL.acceleration(da.zeros((4, 3))), TypeError,
     r"^positions is a dask Array: Model\.acceleration would compute it at once; "
     r"geoharm\.dask\.acceleration\(positions, N, M, model=model\)"),
    (lambda f: geoharm.dask.gradient(POINTS, model="EGM"), TypeError,
     r"^model must be a geoharm\.Model or None, not str$"),
]


@pytest.mark.parametrize("call, exception, message", REFUSALS)
def test_refusals(folder, call, exception, message):
    with pytest.raises(exception, match=message):
        call(folder)


def test_model_error_is_a_value_error_that_pickles():
    assert issubclass(geoharm.ModelError, ValueError) and geoharm.ModelError.__module__ == "geoharm"
    error = pickle.loads(pickle.dumps(geoharm.ModelError("x.gfc:3: why")))
    assert type(error) is geoharm.ModelError and str(error) == "x.gfc:3: why"


def test_degree_360_model_gives_the_bits_of_geoharm_eval(folder):
    """The cross-interface identity: a degree-360 model's acceleration and
    gradient through Python, line for line what geoharm-eval --model
    writes for the same records."""
    path = synthetic_file(folder, 360, 11)
    model = geoharm.load(path)
    points = sample_points()[:300]
    for n, m in [(360, 360), (200, 17), (1000, 3)]:
        text = "".join(f"{x.hex()} {y.hex()} {z.hex()} {n} {m}\n" for x, y, z in points.tolist())
        assert_same_doubles(model.acceleration(points, n, m), run_eval(text, len(points), "--model", str(path)))
        lines = run_eval(text, len(points), "--model", str(path), "--gradient")
        T, a, U = model.gradient(points, n, m)
        assert_same_doubles(np.column_stack([U, a, T.reshape(-1, 9)]), lines)
