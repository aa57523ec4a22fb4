"""geoharm.dask.acceleration: lazy, chunk by chunk where the chunks are;
on a LocalCluster of two worker processes the bits of one call in one
process."""

import dask
import dask.array as da
import numpy as np
import pytest
from distributed import Client, LocalCluster, wait

import geoharm
import geoharm.dask
from conftest import assert_same_doubles, random_points


def points_with_edge_cases(count, seed):
    points = random_points(count, seed=seed)
    points[::100_003] = [0.0, 0.0, 0.0]
    points[7::99_991] = [np.nan, 7e6, 0.0]
    points[11::99_989] = [np.inf, 0.0, 7e6]
    return points


def test_local_cluster_of_two_processes_gives_the_one_process_bits():
    points = points_with_edge_cases(1_000_000, seed=11)
    expected = geoharm.acceleration(points, 10, 10)
    expected_4_2 = geoharm.acceleration(points[:300_000], 4, 2)
    expected_gradient = geoharm.gradient(points[:300_000], 4, 2)
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1",
                      dashboard_address=None) as cluster, Client(cluster) as client:
        positions = client.persist(da.from_array(points, chunks=(125_000, 3)))
        result = client.persist(geoharm.dask.acceleration(positions, 10, 10))
        wait(result)
        # Each chunk was evaluated in a worker process, and both took part.
        holders = {address for addresses in client.who_has(result).values() for address in addresses}
        assert len(holders) == 2, holders
        assert_same_doubles(result.compute(), expected)
        assert_same_doubles(geoharm.dask.acceleration(positions[:300_000], 4, 2).compute(), expected_4_2)
        # The gradient: T, A and U of each chunk from one call on a worker.
        for got, want in zip(client.compute(geoharm.dask.gradient(positions[:300_000], 4, 2), sync=True),
                             expected_gradient):
            assert_same_doubles(got, want)


def test_lazy_until_computed_and_chunked_as_the_positions():
    evaluated_chunks = []
    points = random_points(10_000, seed=5)

    def load(k):
        evaluated_chunks.append(k)
        return points[k * 2500 : (k + 1) * 2500]

    parts = [da.from_delayed(dask.delayed(load)(k), shape=(2500, 3), dtype=np.float64) for k in range(4)]
    positions = da.concatenate(parts)
    result = geoharm.dask.acceleration(positions, 10, 10)
    assert evaluated_chunks == []
    assert result.dtype == np.float64 and result.shape == (10_000, 3) and result.chunks == positions.chunks
    with dask.config.set(scheduler="threads"):
        assert_same_doubles(result.compute(), geoharm.acceleration(points))
    assert sorted(evaluated_chunks) == [0, 1, 2, 3]


# Positions as dask arrays of other forms: the same bits as one call.
FORMS = {
    "columns in separate chunks": lambda p: da.from_array(p, chunks=(300, 1)),
    "one chunk": lambda p: da.from_array(p),
    "uneven row chunks": lambda p: da.from_array(p, chunks=((1, 998, 1001),) + ((3,),)),
    "float32": lambda p: da.from_array(p.astype(np.float32), chunks=(700, 3)),
    "unknown row count": lambda p: da.from_array(p, chunks=(500, 3))[da.from_array(p[:, 2] > 0, chunks=500)],
    "a numpy array": lambda p: p,
}


@pytest.mark.parametrize("form", FORMS)
def test_forms_of_positions(form):
    points = random_points(2000, seed=9)
    expected_points = {"float32": points.astype(np.float32), "unknown row count": points[points[:, 2] > 0]}
    expected = geoharm.acceleration(expected_points.get(form, points), 7, 3)
    with dask.config.set(scheduler="threads"):
        assert_same_doubles(geoharm.dask.acceleration(FORMS[form](points), 7, 3).compute(), expected)


@pytest.mark.parametrize("form", ["uneven row chunks", "unknown row count", "columns in separate chunks"])
def test_gradient_lazy_and_in_forms(form):
    points = random_points(2000, seed=10)
    expected_points = points[points[:, 2] > 0] if form == "unknown row count" else points
    positions = FORMS[form](points)
    T, A, U = geoharm.dask.gradient(positions, 6, 6)
    assert (T.ndim, A.ndim, U.ndim) == (3, 2, 1) and T.chunks[0] == A.chunks[0] == U.chunks[0]
    with dask.config.set(scheduler="threads"):
        for got, want in zip(dask.compute(T, A, U), geoharm.gradient(expected_points, 6, 6)):
            assert_same_doubles(got, want)


def test_one_point():
    point = np.array([7000000.0, 1000000.0, 2000000.0])
    result = geoharm.dask.acceleration(da.from_array(point, chunks=1), 4, 2)
    assert result.shape == (3,)
    assert_same_doubles(result.compute(scheduler="sync"), geoharm.acceleration(point, 4, 2))
    gradient = dask.compute(*geoharm.dask.gradient(da.from_array(point, chunks=1), 4, 2), scheduler="sync")
    assert [g.shape for g in gradient] == [(3, 3), (3,), ()]
    for got, want in zip(gradient, geoharm.gradient(point, 4, 2)):
        assert_same_doubles(got, want)


def test_the_process_scheduler_gives_the_one_process_bits():  # the chunks travel pickled
    points = points_with_edge_cases(200_000, seed=13)
    positions = da.from_array(points, chunks=(50_000, 3))
    (result,) = dask.compute(geoharm.dask.acceleration(positions, 10, 10), scheduler="processes")
    assert_same_doubles(result, geoharm.acceleration(points))


def test_an_array_not_of_dask_is_chunked_as_dask_chunks_it():
    points = random_points(20_000, seed=12)
    with dask.config.set({"array.chunk-size": "64KiB"}):
        result = geoharm.dask.acceleration(points, 10, 10)
        rows = da.asarray(points).chunks[0]
    assert len(rows) > 1 and result.chunks == (rows, (3,))
    assert_same_doubles(result.compute(scheduler="sync"), geoharm.acceleration(points))


@pytest.mark.parametrize("function", ["acceleration", "gradient"])
def test_the_numpy_functions_refuse_a_dask_array_without_computing_it(function):
    evaluated = []

    def load():
        evaluated.append(1)
        return np.zeros((5, 3))

    positions = da.from_delayed(dask.delayed(load)(), shape=(5, 3), dtype=np.float64)
    for given in (positions, positions[0], [positions[0], positions[1]]):
        with pytest.raises(TypeError, match=rf"^positions (is|holds) a dask Array: .*geoharm\.dask\.{function}"):
            getattr(geoharm, function)(given)
    assert evaluated == []


# Refused at once, before anything is computed.
REFUSALS = [
    (da.zeros((10, 3), dtype="U3"), 10, 10, TypeError, "positions must be real numbers"),
    (da.zeros((10, 3), dtype=bool), 10, 10, TypeError, "positions must be real numbers"),
    (da.zeros((10, 4)), 10, 10, ValueError, r"positions must have shape \(3,\) or \(K, 3\), not \(10, 4\)"),
    (da.zeros((2, 5, 3)), 10, 10, ValueError, r"not \(2, 5, 3\)"),
    (da.zeros((10, 3)), 10.5, 10, TypeError, r"^N \(maximum degree\) must be an integer"),
    (da.zeros((10, 3)), 10, True, TypeError, r"^M \(maximum order\) must be an integer, not a bool"),
    # Not dask arrays: refused as geoharm.acceleration refuses them.
    (np.array([1.0, None, 3.0], dtype=object), 10, 10, TypeError, "positions must be real numbers.*not NoneType"),
    ([True, 1e6, 2e6], 10, 10, TypeError, "positions must be real numbers.*not bool"),
    ([[1.0, 2.0, 3.0], [1.0, 2.0]], 10, 10, ValueError, r"positions must have shape \(3,\) or \(K, 3\): "),
]


@pytest.mark.parametrize("function", ["acceleration", "gradient"])
@pytest.mark.parametrize("positions, n, m, exception, message", REFUSALS)
def test_refusals(function, positions, n, m, exception, message):
    with pytest.raises(exception, match=message):
        getattr(geoharm.dask, function)(positions, n, m)
