#!/bin/sh
# run-octave.sh [OCTAVE-ARGUMENTS...]
#
# Starts octave-cli with this folder's geoharm.mex callable as geoharm.
# The plug-in needs libmx.so, libmex.so and libmat.so, which sit beside it;
# the dynamic loader reads LD_LIBRARY_PATH only when a process starts, so
# it is set here, before Octave runs, and the folder goes on Octave's path.
#   sh run-octave.sh --eval "geoharm([7000000; 1000000; 2000000], 10, 10)"
# CDPATH is cleared for the cd: with it set, cd may print the folder it
# found, and that would become part of the path.
here=$(CDPATH= cd -- "$(dirname -- "$0")" && pwd)
LD_LIBRARY_PATH="$here${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
export LD_LIBRARY_PATH
exec octave-cli --norc --quiet --no-history --path "$here" "$@"
