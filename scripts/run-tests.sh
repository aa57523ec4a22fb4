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

for preset in linux sanitize win64 win32; do
  echo "== $preset"
  cmake --preset "$preset" -DGEOHARM_WERROR=ON >/dev/null
  cmake --build --preset "$preset"
  if [[ $preset == win32 ]]; then
    start=$SECONDS
    bash scripts/win32-run.sh ctest --preset win32
    echo "win32 tests (with the VM, where one is needed): $((SECONDS - start)) s"
  else
    ctest --preset "$preset"
  fi
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
