#!/bin/sh
# identity.sh RECORDS NAME1 COMMAND1 NAME2 COMMAND2 [NAME3 COMMAND3 ...]
#
# Cross-platform identity: every COMMAND reads the records "x y z N M" of
# the file RECORDS on standard input and writes one line "a_x a_y a_z" per
# record.  Each command is run with the option --bits appended, so that it
# writes each double as the 16 hexadecimal digits of its bits (the tools'
# --bits): the comparison sees every bit, a NaN's sign and payload too.  A
# command that holds --bits already (one that places it before a pipe) is
# run as it stands.
# Each command is a shell command line, e.g. the Linux geoharm-eval, or a
# Windows program behind cmake/wine-run.sh; any further evaluator of the
# same records (a plug-in through a host program) is one more NAME COMMAND
# pair, and must take --bits.
#
# Passes when every command exits with status 0, writes exactly one line
# per record, and all outputs are identical line for line (a carriage
# return at a line end, from a Windows program's text-mode output, is not
# part of the line).  A command that exits with 77 (cannot run on this
# machine) is left out; the others are still compared, and a difference
# among them fails the test.  Without a failure, the test is skipped
# (exit 77) when any command was left out: it has not shown what it is
# for.
set -eu

records=$1
shift
if [ $# -lt 4 ] || [ $(($# % 2)) -ne 0 ]; then
  echo "usage: identity.sh RECORDS NAME1 COMMAND1 NAME2 COMMAND2 [...]" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

want=$(grep -c -v -E '^[[:space:]]*(#|$)' "$records")
echo "identity: $want records from $records"

first=""
compared=0
skipped=0
failed=0
while [ $# -gt 0 ]; do
  name=$1
  cmd=$2
  shift 2
  status=0
  case $cmd in
    *--bits*) line=$cmd ;;
    *) line="$cmd --bits" ;;
  esac
  sh -c "$line" <"$records" >"$work/$name.raw" 2>"$work/$name.err" || status=$?
  if [ "$status" -eq 77 ]; then
    echo "identity: $name: SKIPPED (cannot run here): $(cat "$work/$name.err")"
    skipped=$((skipped + 1))
    continue
  fi
  if [ "$status" -ne 0 ]; then
    echo "identity: $name: exit status $status"; cat "$work/$name.err"
    failed=1
    continue
  fi
  tr -d '\r' <"$work/$name.raw" >"$work/$name.out"
  lines=$(wc -l <"$work/$name.out")
  if [ "$lines" -ne "$want" ]; then
    echo "identity: $name: $lines output lines for $want records"
    failed=1
    continue
  fi
  if [ -z "$first" ]; then
    first=$name
    echo "identity: $name: reference"
    continue
  fi
  if cmp -s "$work/$first.out" "$work/$name.out"; then
    echo "identity: $name: identical to $first"
    compared=$((compared + 1))
  else
    echo "identity: $name differs from $first; first differences (record / $first / $name):"
    grep -v -E '^[[:space:]]*(#|$)' "$records" >"$work/records"
    paste -d '|' "$work/records" "$work/$first.out" "$work/$name.out" |
      awk -F'|' '$2 != $3 { print "  " $1 "\n    " $2 "\n    " $3; if (++n == 5) exit }'
    failed=1
  fi
done

[ "$failed" -eq 0 ] || exit 1
[ "$skipped" -eq 0 ] || exit 77
if [ "$compared" -eq 0 ]; then
  echo "identity: nothing compared"
  exit 1
fi
exit 0
