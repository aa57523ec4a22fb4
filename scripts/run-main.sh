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

# dist/: the plug-in and, in host/linux64/, geoharm-call with the stand-in
# host libraries; the same point evaluated through the plug-in.
rm -rf dist
cmake --install build/linux --prefix "$PWD/dist" >/dev/null
echo "geoharm-call dist/geoharm.mexa64: 7000000 1000000 2000000 10 10"
echo "7000000 1000000 2000000 10 10" | dist/host/linux64/geoharm-call dist/geoharm.mexa64
echo "geoharm-call dist/geoharm_batch.mexa64: 7000000 1000000 2000000 10 10"
echo "7000000 1000000 2000000 10 10" | dist/host/linux64/geoharm-call dist/geoharm_batch.mexa64

# The same point through GNU Octave, from dist/octave.
echo "octave: geoharm([7000000; 1000000; 2000000], 10, 10)"
sh dist/octave/run-octave.sh \
  --eval "printf('%.17g %.17g %.17g\n', geoharm([7000000; 1000000; 2000000], 10, 10))"
echo "octave: geoharm_batch([7000000 1000000 2000000], 10, 10)"
sh dist/octave/run-octave.sh \
  --eval "printf('%.17g %.17g %.17g\n', geoharm_batch([7000000 1000000 2000000], 10, 10))"

# The same point through Python: the wheel from dist/ installed by pip
# into a new virtual environment of Debian's python3 (its numpy seen
# through --system-site-packages).
wheel=$(ls dist/geoharm-*.whl)
rm -rf build/python-venv
/usr/bin/python3 -m venv --system-site-packages build/python-venv
build/python-venv/bin/python -m pip install --quiet --no-index --no-deps --no-cache-dir --disable-pip-version-check "$wheel"
echo "python ($wheel): geoharm.acceleration([7000000, 1000000, 2000000], 10, 10)"
build/python-venv/bin/python -c "import geoharm
print('%.17g %.17g %.17g' % tuple(geoharm.acceleration([7000000, 1000000, 2000000], 10, 10)))"

# The Windows builds: geoharm.mexw64, geoharm.mexw32 and the geoharm_batch
# plug-ins into dist/, with geoharm-call.exe and the stand-in libmx.dll and
# libmex.dll in dist/host/win64/ and dist/host/win32/; the same point
# through each plug-in under Wine (in each build's own Wine prefix, created
# on first use); the 32-bit ones where 32-bit programs run: here, or in a
# VM (scripts/win32-run.sh).
for preset in win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  cmake --install "build/$preset" --prefix "$PWD/dist" >/dev/null
  where=()
  [[ $preset == win64 ]] || where=(bash scripts/win32-run.sh)
  for name in geoharm geoharm_batch; do
    plugin=$name.mex${preset/win/w}
    echo "geoharm-call.exe dist/$plugin ($preset, under Wine): 7000000 1000000 2000000 10 10"
    status=0
    result=$(echo "7000000 1000000 2000000 10 10" |
      ${where[@]+"${where[@]}"} cmake/wine-run.sh "build/$preset/wineprefix" "$preset" \
        "dist/host/$preset/geoharm-call.exe" "dist/$plugin") ||
      status=$?
    if ((status == 77)); then
      echo "($preset: built and installed, but this machine cannot run $preset programs)"
      break
    elif ((status != 0)); then
      echo "geoharm-call.exe ($preset) failed with exit status $status" >&2
      exit "$status"
    else
      printf '%s\n' "$result" | tr -d '\r'
    fi
  done
done

# The release artefacts in dist/: the Octave package (installed with the
# linux build above), the C++ package (a prefix, dist/cpp) and the MATLAB
# release archive, packed by CPack from dist/'s plug-ins of all three builds.
cmake --install build/linux --component cpp --prefix "$PWD/dist/cpp" >/dev/null
bash packaging/matlab/make-release-archive.sh build/linux dist build/release-archive >/dev/null
echo "release artefacts:"
for artefact in dist/geoharm-*.tar.gz dist/geoharm-*-mex.zip dist/geoharm-*.whl; do
  echo "  $artefact"
done
echo "  dist/cpp/ (find_package(geoharm CONFIG) with CMAKE_PREFIX_PATH=$PWD/dist/cpp)"
