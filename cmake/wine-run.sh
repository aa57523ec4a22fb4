#!/bin/sh
# wine-run.sh PREFIX ARCH [PROGRAM [ARGS...]]
#
# Runs a Windows program of the cross build under Wine: CTest's emulator.
#   PREFIX  the build's own Wine prefix (created here on first use)
#   ARCH    win64 or win32: which Wine loader runs the program, and the
#           architecture of the prefix
# Without PROGRAM it only creates the prefix (scripts/vm-run.sh keeps one
# made so).
# Standard input, output and error pass through; the exit status is the
# program's.  Exit status 77 (CTest: skipped) when this machine cannot run
# programs of that architecture at all: the 32-bit loader is an i386 Linux
# program and needs a kernel with IA-32 emulation.  Where ARCH is named in
# GEOHARM_WINE_REQUIRED (scripts/win32-run.sh sets it), that is a failure
# instead: exit status 1.  Where ARCH is named in GEOHARM_WINE_FORBIDDEN
# (the test command sets it for the win32 tests it runs outside the VM),
# a program of ARCH is refused at once, exit status 1: its test lacks the
# label "wine" (cmake/wine_tests.cmake) that sends it where such programs
# run.
set -eu
prefix=$1
arch=$2
shift 2
# Wine wants an absolute prefix.
case $prefix in
  /*) ;;
  *) prefix=$PWD/$prefix ;;
esac

case $arch in
  win64) loader=/usr/lib/wine/wine64 ;;
  win32) loader=/usr/lib/wine/wine ;;
  *) echo "wine-run.sh: unknown architecture '$arch'" >&2; exit 2 ;;
esac

case " ${GEOHARM_WINE_FORBIDDEN:-} " in
  *" $arch "*)
    echo "wine-run.sh: a $arch program where none may run (GEOHARM_WINE_FORBIDDEN): $*" >&2
    echo "wine-run.sh: its test needs the label wine (cmake/wine_tests.cmake)" >&2
    exit 1 ;;
esac

if ! "$loader" --version >/dev/null 2>&1; then
  echo "wine-run.sh: cannot start $loader: this machine cannot run $arch programs" \
       "(for win32: wine32:i386 missing, or a kernel without IA-32 emulation:" \
       "scripts/win32-run.sh runs the command in a VM)" >&2
  case " ${GEOHARM_WINE_REQUIRED:-} " in
    *" $arch "*) echo "wine-run.sh: $arch programs are required here (GEOHARM_WINE_REQUIRED)" >&2; exit 1 ;;
  esac
  echo "wine-run.sh: skipped" >&2
  exit 77
fi

export WINEPREFIX="$prefix"
export WINEARCH="$arch"
export WINELOADER="$loader"
export WINEDEBUG=-all
# No Mono or Gecko installers on first start, and no window of any kind.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY=

# First use: create the prefix once, under a lock, since CTest may start
# several tests at the same time.  wineboot -i initialises it without
# asking anything; wineserver -w waits until it is written completely.
if [ ! -e "$prefix/.geoharm-ready" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -e "$prefix/.geoharm-ready" ]; then
      rm -rf "$prefix"
      "$loader" wineboot -i >/dev/null 2>&1
      /usr/lib/wine/wineserver -w
      touch "$prefix/.geoharm-ready"
    fi
  ) 9>"$prefix.lock"
fi

[ $# -gt 0 ] || exit 0

# The prefix's wineserver stays 60 s after its last program has ended
# (Wine's own wait is 3 s).  A program that starts just as the server
# leaves fails ("wine client error:0: recvmsg: Connection reset by
# peer"), and tests that run one program after another with seconds of
# work in between met that moment.
#
# Where a server already runs, this one exits at once (status 2).  A new
# one gets Wine's services at once (wineboot), with their output nowhere:
# they live as long as the server, and started by the program they would
# hold its output open, and its test waiting, for those 60 s.
if /usr/lib/wine/wineserver -p60 </dev/null >/dev/null 2>&1; then
  "$loader" wineboot </dev/null >/dev/null 2>&1 || true
fi
exec "$loader" "$@"
