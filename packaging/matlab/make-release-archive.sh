#!/usr/bin/env bash
# make-release-archive.sh LINUX_BUILD DIST WORK
#
# The MATLAB release archive from an installed dist/ folder: configures the
# CPack project beside this script in WORK (made anew), packs it, copies
# geoharm-<version>-mex.zip into DIST and prints its path.  Before that it
# unpacks the archive again and checks that every plug-in in it is the
# file of the same name in DIST, byte for byte.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
dist=$(cd "$2" && pwd)
work=$3

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
cmake -S "$here" -B "$work/project" -DGEOHARM_BUILD_DIR="$build" -DGEOHARM_DIST_DIR="$dist" >"$work/configure.log"
(cd "$work/project" && cpack >"$work/cpack.log")
zips=("$work"/project/*-mex.zip)
((${#zips[@]} == 1)) && [[ -f "${zips[0]}" ]] || { echo "cpack made no single archive: ${zips[*]}" >&2; exit 1; }
zip=${zips[0]}

mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
count=0
for plugin in "$work"/unpacked/geoharm/*.mex*; do
  name=$(basename "$plugin")
  cmp "$plugin" "$dist/$name" || { echo "$name in the archive differs from $dist/$name" >&2; exit 1; }
  count=$((count + 1))
done
((count > 0)) || { echo "no plug-in in $zip" >&2; exit 1; }

cp "$zip" "$dist/"
echo "$dist/$(basename "$zip")"
