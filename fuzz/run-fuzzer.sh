#!/bin/sh
# run-fuzzer.sh FUZZER SEEDS WORKDIR SECONDS ASAN_RUNTIME [MAX_LEN]
#
# Runs a fuzzer for SECONDS from the seed corpus SEEDS (read
# only; new inputs go to WORKDIR/corpus, findings to WORKDIR/findings).
# Fixed seed, so a run is repeatable on one machine (the time limit still
# decides how far it gets).  Fails when the fuzzer stops on a finding: a
# crash or failed check, a sanitizer report, a leak, a call slower than
# 10 s or more than 2 GB of memory; prints the fuzzer's counts and ours.
# Inputs are up to MAX_LEN bytes (default 512).
# ASAN_RUNTIME, clang's shared sanitizer runtime, is preloaded: the fuzzer
# lists the C++ library before it, and the runtime must be loaded first.
set -eu
fuzzer=$1
seeds=$2
work=$3
seconds=$4
runtime=$5
max_len=${6:-512}

rm -rf "$work"
mkdir -p "$work/corpus" "$work/findings"
status=0
LD_PRELOAD="$runtime" \
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:allocator_may_return_null=1" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  "$fuzzer" -seed=1 -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -max_len="$max_len" \
    -print_final_stats=1 -artifact_prefix="$work/findings/" "$work/corpus" "$seeds" \
    >"$work/log" 2>&1 || status=$?

grep -E '^(INFO: Loaded|INFO: seed corpus|#[0-9]+.*DONE|stat::number_of_executed_units|stat::average_exec_per_sec|stat::new_units_added|stat::peak_rss_mb|fuzz:)' \
  "$work/log" || true
findings=$(ls "$work/findings" | wc -l)
echo "findings: $findings ($(basename "$fuzzer")); corpus now $(ls "$work/corpus" | wc -l) new inputs + $(ls "$seeds" | wc -l) seeds"
if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
  echo "$(basename "$fuzzer"): exit status $status; the end of its log:"
  tail -n 60 "$work/log"
  exit 1
fi
