"""Two threads call on 16384 points while the main thread adds variables to
os.environ: none may crash.  A new variable can move the C library's table
of them and free the old one, which a getenv in the call would read."""

import subprocess
import sys

import pytest

# Values of 1 KiB fill the freed table with text, which a reader takes for pointers.
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


@pytest.mark.parametrize("function", ["acceleration", "gradient"])
def test_changing_the_environment_during_calls_does_not_crash(function):
    for run in range(5):
        r = subprocess.run([sys.executable, "-c", RACE, function], capture_output=True, text=True, timeout=300)
        assert r.returncode == 0, f"run {run + 1}: exit status {r.returncode}\n{r.stderr[-2000:]}"
