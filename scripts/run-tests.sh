#!/usr/bin/env bash
# Every test: the optimised build (warnings are errors) and the
# AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

for preset in linux sanitize; do
  echo "== $preset"
  cmake --preset "$preset" -DGEOHARM_WERROR=ON >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
