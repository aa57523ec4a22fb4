#!/usr/bin/python3
"""speed-table.py RESULTS.json [CSV [SINGLE]] - the speed figures of one geoharm-bench run.

RESULTS.json is the output of
  geoharm-bench --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \
                --benchmark_out=RESULTS.json --benchmark_out_format=json
Prints, from the medians (CPU time), the time per point of each routine and
its ratio to GeographicLib's at N = M = 10, 4 and 2, and the time per
instruction of each kind (latency and reciprocal throughput); writes CSV
(docs/data/speed.csv) with one row per routine and N:
  path,routine,N,ns_per_point,geographiclib_ns_per_point
SINGLE names the routine evaluateAcceleration takes on the machine (the
level of cpu_features.h's pointSimdLevel: avx512_fma where the processor
has AVX-512 and FMA); "dispatched" if not given.
"""
import csv
import json
import sys

# benchmark name -> (path, routine); the many-point routines run 1024
# points per iteration (bench_field.cpp).
ROUTINES = {
    "BM_evaluateAcceleration": ("single", "dispatched"),
    "BM_singlePointSse2": ("single", "sse2"),
    "BM_manyPointsSse2": ("many", "sse2"),
    "BM_manyPointsAvx2": ("many", "avx2"),
    "BM_manyPointsAvx2Fma": ("many", "avx2_fma"),
    "BM_manyPointsAvx512": ("many", "avx512"),
    "BM_manyPointsAvx512Fma": ("many", "avx512_fma"),
}
POINTS_PER_ITERATION = {"single": 1, "many": 1024}


def medians(results):
    """name -> median CPU time in ns per iteration (aggregates of the run)."""
    out = {}
    for b in results["benchmarks"]:
        if b.get("aggregate_name") != "median" or b.get("error_occurred"):
            continue
        scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
        out[b["run_name"]] = b["cpu_time"] * scale
    return out


def main():
    if len(sys.argv) not in (2, 3, 4):
        sys.exit(__doc__)
    if len(sys.argv) == 4:
        ROUTINES["BM_evaluateAcceleration"] = ("single", sys.argv[3])
    with open(sys.argv[1]) as f:
        results = json.load(f)
    m = medians(results)
    rows = []
    print("N = M | routine | ns per point | GeographicLib ns | ratio")
    for n in (10, 4, 2):
        gl = m.get("BM_GeographicLibGradient/%d" % n)
        for name, (path, routine) in ROUTINES.items():
            t = m.get("%s/%d" % (name, n))
            if t is None or gl is None:
                continue
            per_point = t / POINTS_PER_ITERATION[path]
            rows.append([path, routine, n, "%.1f" % per_point, "%.1f" % gl])
            print("%d | %s %s | %.1f | %.1f | %.2f" % (n, path, routine, per_point, gl, gl / per_point))
    print("\ninstruction | latency ns | reciprocal throughput ns")
    for width in ("sse2", "avx2", "avx512"):
        for op in ("add", "mul", "div", "sqrt", "fma", "mul+add"):
            lat = m.get("BM_latency/%s/%s" % (width, op))
            thr = m.get("BM_throughput/%s/%s" % (width, op))
            if lat is None and thr is None:
                continue
            # 48 instructions per iteration (instruction_chains.h)
            fmt = lambda v: "-" if v is None else "%.3f" % (v / 48)
            print("%s %s | %s | %s" % (width, op, fmt(lat), fmt(thr)))
    if len(sys.argv) >= 3:
        with open(sys.argv[2], "w", newline="") as f:
            w = csv.writer(f, lineterminator="\n")
            w.writerow(["path", "routine", "N", "ns_per_point", "geographiclib_ns_per_point"])
            w.writerows(rows)


if __name__ == "__main__":
    main()
