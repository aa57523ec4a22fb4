#!/usr/bin/env bash
# check_cpp_package.sh BUILD_DIR WORKED_EXAMPLES_H C_TEST_SOURCE
#
# The C++ package as another project uses it: `cmake --install BUILD_DIR
# --component cpp` into a prefix in a temporary folder outside the source
# tree, then the consumer project beside this script, copied there too,
# configured against that prefix alone (find_package(geoharm CONFIG),
# geoharm::field and geoharm::c; no compile option of its own), built, and
# run on the rows of the worked examples: every result must have the
# table's bits.  The C interface three more ways: the C test program
# C_TEST_SOURCE built with `cc` and pkg-config alone, the installed shared
# library loaded by Python's ctypes, and its exported symbols.
set -euo pipefail
build=$1
examples=$2
c_test=$3
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cmake --install "$build" --component cpp --prefix "$tmp/prefix" >/dev/null
echo "installed:"
(cd "$tmp/prefix" && find . -type f | sort | sed 's|^\./|  |')

cp -r "$here/cpp_consumer" "$tmp/consumer"
cp "$c_test" "$tmp/consumer/c_consumer.c"
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

# The C interface: through CMake's geoharm::c (built above), through
# pkg-config and a plain cc, through ctypes; the library's exports.
"$tmp/consumer-build/c_consumer" "$examples"
export PKG_CONFIG_PATH="$tmp/prefix/lib/pkgconfig"
pkg-config --modversion geoharm
# shellcheck disable=SC2046  # pkg-config's words are separate arguments
cc -std=c99 -o "$tmp/c_pkgconfig" "$c_test" $(pkg-config --cflags --libs geoharm) \
  -Wl,-rpath,"$(pkg-config --variable=libdir geoharm)"
ldd "$tmp/c_pkgconfig" | grep -E "lib(stdc\+\+|gcc_s)" && { echo "a C program of the C library needs a C++ runtime"; exit 1; }
"$tmp/c_pkgconfig" "$examples"
/usr/bin/python3 "$here/ctypes_consumer.py" "$tmp/prefix/lib/libgeoharm.so.3" "$examples"
sh "$here/../c_interface/check_exports.sh" readelf "$tmp/prefix/lib/libgeoharm.so.3"
