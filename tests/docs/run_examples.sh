#!/bin/sh
# run_examples.sh BUILD_DIR WORK OCTAVE_PACKAGE_WORK OCTAVE_CLI FILE...
#
# The examples of the Markdown FILEs as a user runs them: the C++ package
# of BUILD_DIR installed into WORK/prefix (cmake --install --component
# cpp), every ```matlab block in a new octave-cli with the geoharm package
# of the build's package test loaded (installed by
# tests/package/octave_package.sh into OCTAVE_PACKAGE_WORK/packages, its
# own package list there) beside the packages this machine has installed
# for every user (octave-parallel), every whole ```cpp and ```c program
# built against WORK/prefix, every ```sh block of the build's own
# programs run in the checkout; each compared with the ```text block that
# follows it (check_docs.py examples).
set -eu
build=$1
work=$2
package_work=$3
octave_cli=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work"
cmake --install "$build" --component cpp --prefix "$work/prefix" >/dev/null
unset LD_LIBRARY_PATH
exec /usr/bin/python3 "$here/check_docs.py" examples \
  --octave "HOME='$package_work/home' '$octave_cli' --norc --quiet --no-history --no-window-system --eval \"pkg prefix '$package_work/packages' '$package_work/packages'; pkg local_list '$package_work/octave_packages'; pkg load geoharm; source('{script}')\"" \
  --cpp-prefix "$work/prefix" --work "$work/examples" --build "$build" "$@"
