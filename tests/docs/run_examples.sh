#!/bin/sh
# run_examples.sh BUILD_DIR WORK OCTAVE_PACKAGE_WORK OCTAVE_CLI FILE...
#
# The examples of the Markdown FILEs as a user runs them: the C++ package
# of BUILD_DIR installed into WORK/prefix (cmake --install --component
# cpp), every ```matlab block in a new octave-cli with the geoharm package
# of the build's package test loaded (tests/package/octave_package.sh, in
# OCTAVE_PACKAGE_WORK), every whole ```cpp and ```c program built against
# WORK/prefix; each compared with the ```text block that follows it
# (check_docs.py examples).
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
exec /usr/bin/python3 "$here/check_docs.py" examples \
  --octave "sh '$here/../package/octave_package.sh' '$package_work' '$octave_cli' octave \"source('{script}')\"" \
  --cpp-prefix "$work/prefix" --work "$work/examples" "$@"
