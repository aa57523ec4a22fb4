#!/usr/bin/env bash
# Every test: the optimised build (warnings are errors), the
# AddressSanitizer + UndefinedBehaviorSanitizer build, and the Windows
# cross builds (64 and 32 bit) with their tests under Wine; these compare
# their results with the Linux build's, so linux comes first; then the
# MATLAB release archive from all three.  The win32 tests run where 32-bit
# programs run: here, or in a VM (scripts/win32-run.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

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

for preset in linux sanitize win64 win32; do
  echo "== $preset"
  cmake --preset "$preset" -DGEOHARM_WERROR=ON >/dev/null
  cmake --build --preset "$preset"
  log=build/$preset/run-tests.log
  case $preset in
    win64)
      ctest --preset win64 "${wine_retry[@]}" | tee "$log"
      second_runs "$log" ;;
    win32)
      start=$SECONDS
      bash scripts/win32-run.sh ctest --preset win32 "${wine_retry[@]}" | tee "$log"
      echo "win32 tests (with the VM, where one is needed): $((SECONDS - start)) s"
      second_runs "$log" ;;
    *)
      ctest --preset "$preset" ;;
  esac
done

# The MATLAB release archive, made from the plug-ins of all three builds.
echo "== release"
ctest --preset release

# The gateway fuzzer: the plug-in and the stand-in host built by clang with
# the fuzzer's coverage and sanitizers, run for a bounded time.
echo "== fuzz"
cmake --preset fuzz -DGEOHARM_WERROR=ON >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz

# The counts of the hardening runs (from the tests' logs): the fuzzers
# (gateway and record reader: "fuzz:" and "findings:" lines), soak,
# memcheck.
echo "== hardening counts"
grep -h -E '^(fuzz:|findings:|soak:|memcheck:)' \
  build/fuzz/Testing/Temporary/LastTest.log build/linux/Testing/Temporary/LastTest.log \
  build/sanitize/Testing/Temporary/LastTest.log 2>/dev/null | sed 's/^[0-9]*: //' || true
