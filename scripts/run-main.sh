#!/usr/bin/env bash
# The main job: build the model and its tools, then evaluate the first
# reference point (7000 km, 1000 km, 2000 km; degree and order 10).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux

echo "geoharm-eval: 7000000 1000000 2000000 10 10"
echo "7000000 1000000 2000000 10 10" | build/linux/tools/geoharm-eval

# The same point through GNU Octave, once the run folder holds the real
# plug-in (until then it holds a test fixture, which is not evaluated here).
if grep -qx geoharm_mexa64 build/linux/octave-run/plugin-target 2>/dev/null; then
  echo "octave: geoharm([7000000; 1000000; 2000000], int8(10), int8(10))"
  sh build/linux/octave-run/run-octave.sh \
    --eval "printf('%.17g %.17g %.17g\n', geoharm([7000000; 1000000; 2000000], int8(10), int8(10)))"
fi
