"""The committed identity records through geoharm.acceleration, one call
per run of records with equal N and M, line for line the bits geoharm-eval
writes for them (and the plug-ins, which the identity tests of the build
hold to geoharm-eval)."""

import numpy as np

import geoharm
from conftest import RECORDS, assert_same_doubles, run_eval


def read_records():
    """(points, N, M) of every record in order; positions as strtod reads
    them (hex floats included)."""
    points, limits = [], []
    for line in RECORDS.read_text().splitlines():
        fields = line.split()
        if not fields or fields[0].startswith("#"):
            continue
        points.append([float.fromhex(v) if "0x" in v else float(v) for v in fields[:3]])
        limits.append((int(fields[3]), int(fields[4])))
    return np.array(points), limits


def runs(limits):
    """(start, stop, N, M) of each run of consecutive records with equal N and M."""
    start = 0
    for k in range(1, len(limits) + 1):
        if k == len(limits) or limits[k] != limits[start]:
            yield start, k, *limits[start]
            start = k


def test_identity_records_through_python():
    points, limits = read_records()
    assert len(points) > 12000
    expected = run_eval(RECORDS.read_text(), len(points))
    got = np.empty_like(points)
    calls = 0
    for start, stop, n, m in runs(limits):
        block = points[start:stop]
        got[start:stop] = geoharm.acceleration(block if stop - start > 1 else block[0], n, m)
        calls += 1
    assert calls < len(points)  # runs of several records went through one call
    assert_same_doubles(got, expected)
