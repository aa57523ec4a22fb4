#!/usr/bin/env bash
# check_cpp_package.sh BUILD_DIR WORKED_EXAMPLES_H
#
# The C++ package as another project uses it: `cmake --install BUILD_DIR
# --component cpp` into a prefix in a temporary folder outside the source
# tree, then the consumer project beside this script, copied there too,
# configured against that prefix alone (find_package(geoharm CONFIG),
# geoharm::field; no compile option of its own), built, and run on the rows
# of the worked examples: every result must have the table's bits.
set -euo pipefail
build=$1
examples=$2
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cmake --install "$build" --component cpp --prefix "$tmp/prefix" >/dev/null
echo "installed:"
(cd "$tmp/prefix" && find . -type f | sort | sed 's|^\./|  |')

cp -r "$here/cpp_consumer" "$tmp/consumer"
unset CMAKE_PREFIX_PATH
cmake -S "$tmp/consumer" -B "$tmp/consumer-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$tmp/prefix" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >"$tmp/configure.log" ||
  { cat "$tmp/configure.log"; exit 1; }
grep -F -- "-- geoharm " "$tmp/configure.log"
grep -q -F "from $tmp/prefix/" "$tmp/configure.log" || { echo "geoharm was not found in the installed prefix"; exit 1; }
cmake --build "$tmp/consumer-build" >"$tmp/build.log" || { cat "$tmp/build.log"; exit 1; }

# The rows {x, y, z, n, m, ax, ay, az} of the table, one per line.
sed -n 's/^ *{\([-0-9].*\)},$/\1/p' "$examples" | tr -d ',' >"$tmp/rows"
[[ $(wc -l <"$tmp/rows") -ge 10 ]] || { echo "found only $(wc -l <"$tmp/rows") worked examples in $examples"; exit 1; }
"$tmp/consumer-build/consumer" <"$tmp/rows"
