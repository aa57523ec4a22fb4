#!/bin/sh
# check_pe_unwind.sh OBJDUMP PLUGIN REGEX
#
# 64-bit Windows plug-ins: an error through the host ends the call with a
# longjmp, which on x64 Windows unwinds the stack frame by frame with the
# function table (.pdata) of each module, as a C++ exception does.  A
# function of the plug-in missing from its function table would stop that
# unwinding.  Fails unless every function whose symbol matches the
# extended regular expression REGEX (the plug-in's own code) starts inside
# an entry of the table, and unless there is at least one such function.
set -eu
objdump=$1
plugin=$2
regex=$3
{
  "$objdump" -p "$plugin" | awk '
    /^The Function Table/ { on = 1; next }
    on && /^ *[0-9a-f]+:\t[0-9a-f]+ [0-9a-f]+ [0-9a-f]+/ { print "RANGE", $2, $3; next }
    on && /^$/ { on = 0 }'
  "$objdump" -d --no-show-raw-insn "$plugin" | awk -v re="$regex" '
    /^[0-9a-f]+ <.*>:$/ { name = $2; sub(/^</, "", name); sub(/>:$/, "", name); if (name ~ re) print "FN", $1, name }'
} | awk '
  BEGIN { n = 0; m = 0 }
  function hex(s,   i, v) { v = 0; s = tolower(s); for (i = 1; i <= length(s); i++) v = v * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1; return v }
  $1 == "RANGE" { lo[n] = hex($2); hi[n] = hex($3); n++ }
  $1 == "FN" { fa[m] = hex($2); fname[m] = $3; m++ }
  END {
    bad = 0
    for (j = 0; j < m; j++) {
      ok = 0
      for (i = 0; i < n && !ok; i++) if (fa[j] >= lo[i] && fa[j] < hi[i]) ok = 1
      if (!ok) { print "no function table entry for " fname[j]; bad++ }
    }
    if (m == 0) { print "no function matches the pattern"; bad++ }
    printf "check_pe_unwind: %d functions, %d function table entries, %d without\n", m, n, bad
    exit bad > 0
  }'
