#!/bin/sh
# memcheck.sh STATUS INPUT COMMAND [ARG...]
#
# Runs COMMAND under valgrind's memcheck with INPUT on standard input
# ("-" for none) and passes when the command exits with STATUS and
# memcheck found no error: no invalid read or write, no use of an
# uninitialised value, no bad free, and no block definitely or indirectly
# lost at exit.  Prints the command's last line of output and memcheck's
# summary (errors, lost bytes).
set -eu
want=$1
input=$2
shift 2
[ "$input" = "-" ] && input=/dev/null

log=$(mktemp)
out=$(mktemp)
trap 'rm -f "$log" "$out"' EXIT
status=0
valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
  --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect \
  --log-file="$log" "$@" <"$input" >"$out" 2>&1 || status=$?

what=$(for a in "$@"; do printf '%s ' "${a##*/}"; done)
echo "memcheck: ${what}< $(basename "$input"): exit status $status (expected $want); last output: $(tail -n 1 "$out")"
grep -E 'ERROR SUMMARY|definitely lost|indirectly lost|All heap blocks were freed' "$log" | sed 's/^==[0-9]*== /memcheck:   /'
if [ "$status" -ne "$want" ]; then
  echo "memcheck: FAILED"
  cat "$log"
  tail -n 40 "$out"
  exit 1
fi
