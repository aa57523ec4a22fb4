#!/usr/bin/env bash
# Every test: the optimised build (warnings are errors), the
# AddressSanitizer + UndefinedBehaviorSanitizer build, and the Windows
# cross builds (64 and 32 bit) with their tests under Wine; these compare
# their results with the Linux build's, so linux comes first.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

for preset in linux sanitize win64 win32; do
  echo "== $preset"
  cmake --preset "$preset" -DGEOHARM_WERROR=ON >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
