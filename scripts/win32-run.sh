#!/usr/bin/env bash
# win32-run.sh COMMAND [ARGS...]
#
# Runs COMMAND (from the top of the checkout) where 32-bit Windows programs
# run under Wine: directly when this machine's 32-bit Wine loader starts (a
# kernel with IA-32 emulation), otherwise inside the VM of
# scripts/vm-run.sh, with the win32 build's Wine prefix
# (build/win32/wineprefix) ready there.  The one place that makes this
# choice: the test command runs `ctest --preset win32` through it, the main
# job geoharm.mexw32.
#
# Either way GEOHARM_WINE_REQUIRED=win32 tells cmake/wine-run.sh that a
# 32-bit program which cannot start is a failure, not a skipped test.
# GEOHARM_WIN32_VM=1 takes the VM even where 32-bit programs run here (to
# try the VM's way on such a machine).
#
# win32-run.sh --where prints where a command would run: "here" or "vm".
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
export GEOHARM_WINE_REQUIRED=win32
where=vm
if [[ ${GEOHARM_WIN32_VM:-0} != 1 ]] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  where=here
fi
if [[ ${1:-} == --where ]]; then
  echo "$where"
  exit 0
fi
[[ $where == vm ]] || exec "$@"
echo "win32-run.sh: in a VM (scripts/vm-run.sh): $*" >&2
exec bash "$top/scripts/vm-run.sh" --wine32-prefix "$top/build/win32/wineprefix" "$@"
