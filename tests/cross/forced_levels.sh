#!/bin/sh
# forced_levels.sh RECORDS EVAL CALL PLUGIN [OPTION...]
#
# GEOHARM_SIMD_LEVEL: every level the processor runs, forced, gives the
# bits of the routines chosen for it, one point and many, acceleration and
# gradient (geoharm-eval EVAL --bits on the records of RECORDS, the
# OPTIONs, e.g. --model FILE, given to every run of EVAL), and says
# which level it took (--version); a level the processor does not run and
# a name that is no level are refused: the tool with status 2 and why, the
# plug-in PLUGIN (through geoharm-call CALL) with its identifier.
set -eu
records=$1 eval=$2 call=$3 plugin=$4
shift 4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "forced_levels: $*"; exit 1; }

ran="" refused=""
for mode in "" "--many" "--gradient" "--gradient --many"; do
  env -u GEOHARM_SIMD_LEVEL "$eval" --bits $mode "$@" < "$records" > "$work/chosen"
  for level in sse2 avx2 avx2_fma avx512f avx512f_fma; do
    if GEOHARM_SIMD_LEVEL=$level "$eval" --version "$@" > "$work/version" 2> "$work/why"; then
      grep -q "vector routines $level (one point $level)" "$work/version" ||
        fail "$level forced, but: $(cat "$work/version")"
      GEOHARM_SIMD_LEVEL=$level "$eval" --bits $mode "$@" < "$records" > "$work/forced"
      cmp -s "$work/chosen" "$work/forced" || fail "$level forced ($mode) gives other bits than the chosen routines"
      [ -n "$mode" ] || ran="$ran $level"
    else
      status=$?
      [ "$status" -eq 2 ] && grep -q "which this processor does not run" "$work/why" ||
        fail "$level refused with status $status: $(cat "$work/why")"
      [ -n "$mode" ] || refused="$refused $level"
    fi
  done
done
echo "forced_levels: same bits at$ran; refused as this processor does not run them:${refused:- none}"

# A name that is no level: the tool and the plug-in refuse it.
if GEOHARM_SIMD_LEVEL=avx9 "$eval" "$@" < "$records" > /dev/null 2> "$work/why"; then
  fail "an unknown level was taken"
else
  status=$?
  [ "$status" -eq 2 ] && grep -q 'GEOHARM_SIMD_LEVEL is "avx9", which is not a level' "$work/why" ||
    fail "unknown level: status $status, $(cat "$work/why")"
fi
echo "7e6 1e6 2e6 10 10" > "$work/one"
if GEOHARM_SIMD_LEVEL=avx9 "$call" "$plugin" < "$work/one" > /dev/null 2> "$work/why"; then
  fail "the plug-in took an unknown level"
else
  status=$?
  [ "$status" -eq 3 ] && grep -q '^geoharm:simdlevel: GEOHARM_SIMD_LEVEL is "avx9"' "$work/why" ||
    fail "plug-in with an unknown level: status $status, $(cat "$work/why")"
fi
echo "forced_levels: an unknown level refused by the tool (status 2) and the plug-in (geoharm:simdlevel)"
