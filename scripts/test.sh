#!/usr/bin/env bash
# Installs what is needed, builds with warnings as errors and runs every test;
# then builds the logic again under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs its tests there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

scripts/build.sh build-ci -DUTQ_WERROR=ON
(cd build-ci && ctest --output-on-failure --timeout 300)

scripts/build.sh build-sanitize -DUTQ_WERROR=ON -DUTQ_SANITIZE=ON -DUTQ_GUI=OFF
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure --timeout 300 -L logic)
