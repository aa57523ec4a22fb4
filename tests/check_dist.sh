#!/usr/bin/env bash
# The installed layout stands on its own: dist/geoharm.mexa64 and, in
# dist/host/linux64/, geoharm-call with the stand-in libraries it finds
# next to itself.  Run from elsewhere with no library path set, it prints
# what geoharm-eval prints.
#   check_dist.sh BUILD_DIR GEOHARM_EVAL
set -euo pipefail
build=$1
eval_tool=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cmake --install "$build" --prefix "$tmp/dist" >/dev/null
for f in geoharm.mexa64 host/linux64/geoharm-call host/linux64/libmx.so host/linux64/libmex.so \
         host/linux64/libmat.so; do
  [[ -f "$tmp/dist/$f" ]] || { echo "missing dist/$f"; exit 1; }
done

records='7000000 1000000 2000000 10 10
-6500000 2500000 -1500000 10 10
0 0 0 10 10
-0.0 0 6600000 -1 127
488603.552 8134012.108 -9947002.437 3 1
'
cd /
unset LD_LIBRARY_PATH
via_plugin=$(printf '%s' "$records" | "$tmp/dist/host/linux64/geoharm-call" "$tmp/dist/geoharm.mexa64")
direct=$(printf '%s' "$records" | "$eval_tool")
if [[ "$via_plugin" != "$direct" ]]; then
  echo "geoharm-call from dist/ differs from geoharm-eval:"
  diff <(echo "$via_plugin") <(echo "$direct") || true
  exit 1
fi
echo "dist/ layout ok"
