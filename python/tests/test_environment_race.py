"""Calls on many points in two threads while the main thread changes
os.environ (test python_environment_race, label environment_race, which
runs it alone).

A variable added to the environment can move the C library's table of
variables and free the old one; a thread that reads the environment at
that moment (getenv) reads freed memory.  The core must not read the
environment during a call, which runs with the interpreter lock
released: each run of the race below is a process of its own, and none
may end in a crash."""

import subprocess
import sys

import pytest

# Each new variable, with a value of 1 KiB, makes the table larger (moved,
# the old one freed) and fills freed memory with text: a thread still
# reading the old table meets pointers made of text.
RACE = """
import os, sys, threading
import numpy as np
import geoharm

call = getattr(geoharm, sys.argv[1])
points = np.random.default_rng(1).uniform(-4e7, 4e7, size=(16384, 3))
stop = threading.Event()

def calls():
    while not stop.is_set():
        call(points)

workers = [threading.Thread(target=calls) for _ in range(2)]
for w in workers:
    w.start()
for k in range(10000):
    os.environ[f"GEOHARM_RACE_{k}"] = "x" * 1024
stop.set()
for w in workers:
    w.join()
"""

RUNS = 5


@pytest.mark.parametrize("function", ["acceleration", "gradient"])
def test_changing_the_environment_during_calls_does_not_crash(function):
    for run in range(RUNS):
        r = subprocess.run([sys.executable, "-c", RACE, function], capture_output=True, text=True, timeout=300)
        assert r.returncode == 0, f"run {run + 1} of {RUNS}: exit status {r.returncode}\n{r.stderr[-2000:]}"
