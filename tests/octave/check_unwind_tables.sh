#!/bin/sh
# check_unwind_tables.sh PLUGIN
#
# Octave reports a plug-in's error as a C++ exception that unwinds through
# the plug-in's frames.  A frame without unwind information (code built
# with -fno-asynchronous-unwind-tables) stops the unwinder and Octave
# aborts.  This check fails unless every function of the plug-in (the
# exported entry point always; every function of the symbol table when the
# file is not stripped), apart from the C runtime's start-up stubs, lies in
# an FDE of its .eh_frame.
set -eu
plugin=$1
{
  readelf --debug-dump=frames "$plugin" 2>/dev/null | sed -n 's/.* FDE .*pc=\([0-9a-f]*\)\.\.\([0-9a-f]*\).*/FDE \1 \2/p'
  { nm --defined-only "$plugin" 2>/dev/null || true; nm -D --defined-only "$plugin"; } |
    awk '$2 ~ /^[Tt]$/ { print "FN", $1, $3 }'
} | awk '
  BEGIN { n = 0; m = 0 }
  function hex(s,   i, v) { v = 0; s = tolower(s); for (i = 1; i <= length(s); i++) v = v * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1; return v }
  $1 == "FDE" { lo[n] = hex($2); hi[n] = hex($3); n++ }
  $1 == "FN" && $3 !~ /^(_init|_fini|deregister_tm_clones|register_tm_clones|__do_global_dtors_aux|frame_dummy)$/ { fa[m] = hex($2); fname[m] = $3; m++ }
  END {
    bad = 0; entry = 0
    for (j = 0; j < m; j++) {
      if (fname[j] ~ /^mexfunction_/) entry = 1
      ok = 0
      for (i = 0; i < n && !ok; i++) if (fa[j] >= lo[i] && fa[j] < hi[i]) ok = 1
      if (!ok) { print "no unwind information for " fname[j]; bad++ }
    }
    if (!entry) { print "no mexfunction_ in the plug-in"; bad++ }
    printf "%d functions, %d FDEs, %d without unwind information\n", m, n, bad
    exit bad > 0
  }'
