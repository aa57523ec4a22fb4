#!/usr/bin/env bash
# Every test: the optimised build (warnings are errors), the
# AddressSanitizer + UndefinedBehaviorSanitizer build, and the Windows
# cross builds (64 and 32 bit) with their tests under Wine; these compare
# their results with the Linux build's, so linux comes first; then the
# MATLAB release archive from all three, and the fuzzers.
#
# The win32 tests in two parts: the checks of the built files (exports,
# imports, instructions: tests without the label "wine") here, then the
# tests that start a 32-bit program where such programs run
# (scripts/win32-run.sh), two at a time: here all of them; in a VM, whose
# emulated processor is 12 to 20 times slower, those that show what only
# a 32-bit process shows (label "proof": the identity of its results, its
# plug-ins under a host), the others checking the same sources as the
# linux and win64 builds do.
#
# Tests run two at a time (the machines this runs on have two cores or
# more; no test depends on running alone).
#
# Each stage's output goes to the terminal and to build/run-tests/STAGE.log;
# at the end, also after a failure, a table of each stage's times (build,
# tests), kept in build/run-tests/times.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

logs=build/run-tests
mkdir -p "$logs"
rm -f "$logs"/*.log "$logs/times.txt"

# The table: a row per stage part, "STAGE|PART|SECONDS" (a part's name
# may hold spaces and colons).
rows=()
table() {
  local status=$? stage part seconds total=0 row
  {
    printf '%-10s %-24s %8s\n' stage part seconds
    for row in ${rows[@]+"${rows[@]}"}; do
      IFS='|' read -r stage part seconds <<<"$row"
      printf '%-10s %-24s %8s\n' "$stage" "$part" "$seconds"
      total=$((total + seconds))
    done
    printf '%-10s %-24s %8s\n' total "" "$total"
    ((status == 0)) || echo "(stopped by a failure, status $status: the last stage's log has it)"
  } | tee "$logs/times.txt"
  echo "logs: $logs/STAGE.log"
  exit "$status"
}
trap table EXIT

# timed STAGE PART COMMAND...: runs COMMAND, its output also appended to
# the stage's log, and adds a row with its time.
timed() {
  local stage=$1 part=$2 start=$SECONDS status=0
  shift 2
  "$@" 2>&1 | tee -a "$logs/$stage.log" || status=$?
  rows+=("$stage|$part|$((SECONDS - start))")
  return "$status"
}

timed deps install bash scripts/install-deps.sh

# Under Wine a test that fails runs once more: now and then Wine fails to
# start a program (seen: a 0.01 s run of a test program that prints from
# its first line, with no output; a program that lost its wineserver as it
# started, which cmake/wine-run.sh now makes rare).  A fault of ours fails
# both runs; the log keeps the first run's output, and a line after the
# preset names each test that passed only the second time.  The Linux
# builds get no second run.
wine_retry=(--repeat until-pass:2)
second_runs() { # LOG
  local passed
  passed=$(grep -E '^ +Test +#[0-9]+: .* Passed' "$1" | sed -E 's/^ +Test +#[0-9]+: ([^ ]+).*/\1/' | tr '\n' ' ') || true
  [[ -z $passed ]] || echo "passed only when run a second time under Wine: $passed"
}

build() { # PRESET
  cmake --preset "$1" -DGEOHARM_WERROR=ON >/dev/null && cmake --build --preset "$1"
}

for preset in linux sanitize win64 win32; do
  echo "== $preset"
  timed "$preset" build build "$preset"
  case $preset in
    win64)
      timed win64 tests ctest --preset win64 -j2 "${wine_retry[@]}"
      second_runs "$logs/win64.log" ;;
    win32)
      # A test that starts a 32-bit program but lacks the label fails here
      # (cmake/wine-run.sh), rather than running where it cannot.
      timed win32 "tests: files" env GEOHARM_WINE_FORBIDDEN=win32 ctest --preset win32 -LE '^wine$'
      # In a VM, the tests labelled "proof" alone (cmake/wine_tests.cmake).
      label='^wine$'
      [[ $(bash scripts/win32-run.sh --where) == here ]] || label='^proof$'
      timed win32 "tests: 32-bit programs" \
        bash scripts/win32-run.sh ctest --preset win32 -L "$label" -j2 "${wine_retry[@]}"
      second_runs "$logs/win32.log" ;;
    *)
      timed "$preset" tests ctest --preset "$preset" -j2 ;;
  esac
done

# The MATLAB release archive, made from the plug-ins of all three builds.
echo "== release"
timed release tests ctest --preset release

# The gateway fuzzer: the plug-in and the stand-in host built by clang with
# the fuzzer's coverage and sanitizers, run for a bounded time.
echo "== fuzz"
timed fuzz build build fuzz
timed fuzz tests ctest --preset fuzz -j2

# The counts of the hardening runs (from the tests' logs): the fuzzers
# (gateway and record reader: "fuzz:" and "findings:" lines), soak,
# memcheck.
echo "== hardening counts"
grep -h -E '^(fuzz:|findings:|soak:|memcheck:)' \
  build/fuzz/Testing/Temporary/LastTest.log build/linux/Testing/Temporary/LastTest.log \
  build/sanitize/Testing/Temporary/LastTest.log 2>/dev/null | sed 's/^[0-9]*: //' || true
