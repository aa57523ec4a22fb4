#!/bin/sh
# install_wheel.sh PYTHON VENV WHEEL_DIR
#
# The wheel as a user installs it: a new virtual environment VENV made by
# PYTHON with the system's packages visible (numpy, dask), the one wheel
# of WHEEL_DIR installed by pip from the file alone (no index), then
# imported from elsewhere.  Fails when the package is not the installed
# one or lacks a file of the wheel.
set -eu
python=$1
venv=$2
wheel_dir=$3

wheels=$(find "$wheel_dir" -maxdepth 1 -name 'geoharm-*.whl')
[ "$(echo "$wheels" | grep -c .)" -eq 1 ] || { echo "expected one wheel in $wheel_dir: $wheels"; exit 1; }
case $(basename "$wheels") in
  geoharm-*-cp3*-cp3*-linux_x86_64.whl) ;;
  *) echo "unexpected wheel name: $wheels"; exit 1 ;;
esac

rm -rf "$venv"
"$python" -m venv --system-site-packages "$venv"
"$venv/bin/python" -m pip install --no-index --no-deps --no-cache-dir --disable-pip-version-check --quiet "$wheels"
echo "installed $(basename "$wheels") into $venv"

cd /
"$venv/bin/python" - "$venv" <<'PY'
import pathlib, sys
import geoharm, geoharm.dask
venv = pathlib.Path(sys.argv[1]).resolve()
package = pathlib.Path(geoharm.__file__).resolve().parent
assert venv in package.parents, f"geoharm imported from {package}, not from {venv}"
files = sorted(p.name for p in package.iterdir() if p.name != "__pycache__")
print("geoharm", geoharm.__version__, "from", package, ":", " ".join(files))
for needed in ("__init__.py", "dask.py", "py.typed", "_core.pyi"):
    assert needed in files, needed
assert any(f.startswith("_core.cpython") and f.endswith(".so") for f in files)
PY
