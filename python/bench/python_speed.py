#!/usr/bin/env python3
"""python_speed.py - the Python package's speed against the C++ core, from
one run: medians over rounds that take turns, and their ratios.

    PYTHONPATH=build/linux/python/package /usr/bin/python3 \\
        python/bench/python_speed.py build/linux/bench/geoharm-bench [--rounds 9] [--no-dask]

Each round runs every contender once, in the same order, so that a change
in the machine's load falls on all of them:
  - K = 10^5 points at N = M = 10: geoharm::accelerationMany in C++
    (geoharm-bench's BM_accelerationMany/100000, its own process) against
    geoharm.acceleration with the positions in rows (a C-order (K, 3)
    array, as numpy makes them) and in columns (Fortran order: the C++
    call's layout); wall time, and the CPU time of all the process's
    threads, which a busy machine disturbs less;
  - one point: the core's single-point evaluation (BM_evaluateAcceleration/10,
    the routine geoharm::acceleration runs) against geoharm.acceleration of
    a list and of a float64 array;
  - 10^6 points (unless --no-dask): geoharm.acceleration in this process
    against geoharm.dask.acceleration on a LocalCluster of 2 worker
    processes (one thread each), the positions already on the workers in
    8 chunks, the result left there (persist) and brought back (compute).
The points: radius uniform from 6,400 km to 42,000 km, direction uniform.
"""

import argparse
import itertools
import json
import os
import statistics
import subprocess
import time

import numpy as np

import geoharm


def points(count, seed=42):
    rng = np.random.default_rng(seed)
    direction = rng.normal(size=(count, 3))
    direction /= np.linalg.norm(direction, axis=1)[:, None]
    return direction * rng.uniform(6.4e6, 4.2e7, size=(count, 1))


def cpp_seconds(bench, name, min_time, cpu=False):
    """geoharm-bench's time per iteration (s) of the benchmark `name`: wall
    time (real_time), or with cpu=True (wall, CPU) (cpu_time: of every
    thread where the benchmark measures the process's)."""
    out = subprocess.run(
        [bench, f"--benchmark_filter=^{name}$", f"--benchmark_min_time={min_time}", "--benchmark_format=json"],
        capture_output=True, text=True, check=True,
    ).stdout
    (result,) = json.loads(out)["benchmarks"]
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[result["time_unit"]]
    if cpu:
        return result["real_time"] * scale, result["cpu_time"] * scale
    return result["real_time"] * scale


def median_call(call, min_time, batch=1, cpu=False):
    """Median wall time (s) of one call, from batches of `batch` calls run
    for min_time seconds; with cpu=True (wall, CPU time of the process's
    threads)."""
    times, cpu_times = [], []
    end = time.perf_counter() + min_time
    while time.perf_counter() < end or len(times) < 3:
        start, cpu_start = time.perf_counter(), time.process_time()
        for _ in range(batch):
            call()
        times.append((time.perf_counter() - start) / batch)
        cpu_times.append((time.process_time() - cpu_start) / batch)
    if cpu:
        return statistics.median(times), statistics.median(cpu_times)
    return statistics.median(times)


def report(title, rows, unit, per):
    """rows: (name, median seconds); the first is the baseline."""
    base = rows[0][1]
    print(f"\n{title}")
    for name, seconds in rows:
        print(f"  {name:<46} {seconds / unit:10.3f} {per}   ratio {seconds / base:6.3f}")


def many_points(bench, rounds):
    k = 100_000
    rows = points(k)
    columns = np.asfortranarray(rows)
    cpp = "C++ geoharm::accelerationMany"
    runs = {cpp: [], "Python, positions in rows (C order)": [], "Python, positions in columns (Fortran order)": []}
    for _ in range(rounds):
        runs[cpp].append(cpp_seconds(bench, "BM_accelerationMany/100000/process_time/real_time", 0.3, cpu=True))
        runs["Python, positions in rows (C order)"].append(
            median_call(lambda: geoharm.acceleration(rows), 0.3, cpu=True))
        runs["Python, positions in columns (Fortran order)"].append(
            median_call(lambda: geoharm.acceleration(columns), 0.3, cpu=True))
    for which, title in ((0, "wall time"), (1, "CPU time of all threads")):
        report(f"{k} points, N = M = 10: {title} per point (median of {rounds} rounds)",
               [(name, statistics.median(t[which] for t in times) / k) for name, times in runs.items()], 1e-9, "ns")


def one_point(bench, rounds):
    p_list = [7000000.0, 1000000.0, 2000000.0]
    p_array = np.array(p_list)
    runs = {"C++ single-point evaluation": [], "Python, a list": [], "Python, a float64 array": []}
    for _ in range(rounds):
        runs["C++ single-point evaluation"].append(cpp_seconds(bench, "BM_evaluateAcceleration/10", 0.3))
        runs["Python, a list"].append(median_call(lambda: geoharm.acceleration(p_list), 0.3, batch=1000))
        runs["Python, a float64 array"].append(median_call(lambda: geoharm.acceleration(p_array), 0.3, batch=1000))
    report(f"one point, N = M = 10: time per call (median of {rounds} rounds)",
           [(name, statistics.median(t)) for name, t in runs.items()], 1e-9, "ns")


def dask_path(rounds):
    import dask.array as da
    from distributed import Client, LocalCluster, wait

    import geoharm.dask

    k = 1_000_000
    rows = points(k)
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1",
                      dashboard_address=None, silence_logs=40) as cluster, Client(cluster) as client:
        positions = client.persist(da.from_array(rows, chunks=(k // 8, 3)))
        wait(positions)

        # Dask names a task after its function and arguments, and serves a
        # result still held from an earlier run without computing it
        # again: each run takes another N from 10 up (all of them mean 10;
        # after 127 it starts again, long after that result was let go), so
        # that its tasks are new.
        degrees = itertools.cycle(range(10, 128))

        def on_workers():
            result = client.persist(geoharm.dask.acceleration(positions, next(degrees), 10))
            wait(result)
            del result

        def brought_back():
            return geoharm.dask.acceleration(positions, next(degrees), 10).compute()

        runs = {"one process, geoharm.acceleration": [], "2 worker processes, result left there": [],
                "2 worker processes, result brought back": []}
        for _ in range(rounds):
            runs["one process, geoharm.acceleration"].append(median_call(lambda: geoharm.acceleration(rows), 1.0))
            runs["2 worker processes, result left there"].append(median_call(on_workers, 1.0))
            runs["2 worker processes, result brought back"].append(
                median_call(brought_back, 1.0))
    print(f"\n{k} points, N = M = 10, Dask (LocalCluster, 2 worker processes of one thread, 8 chunks): "
          f"points per second (median of {rounds} rounds)")
    base = statistics.median(runs["one process, geoharm.acceleration"])
    for name, t in runs.items():
        seconds = statistics.median(t)
        print(f"  {name:<46} {k / seconds / 1e6:10.2f} M/s   {seconds * 1e3:8.1f} ms   "
              f"throughput ratio {base / seconds:6.3f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("bench", help="geoharm-bench of the same build")
    parser.add_argument("--rounds", type=int, default=9)
    parser.add_argument("--no-dask", action="store_true")
    args = parser.parse_args()
    print(f"geoharm {geoharm.__version__} from {os.path.dirname(geoharm.__file__)}; "
          f"{os.cpu_count()} processors; GEOHARM_NUM_THREADS={os.environ.get('GEOHARM_NUM_THREADS', '(unset)')}")
    print("load average at the start: %.2f %.2f %.2f" % os.getloadavg())
    many_points(args.bench, args.rounds)
    one_point(args.bench, args.rounds)
    if not args.no_dask:
        dask_path(args.rounds)
    print("\nload average at the end: %.2f %.2f %.2f" % os.getloadavg())


if __name__ == "__main__":
    main()
