#!/usr/bin/env bash
# Installs what is needed, builds with warnings as errors and runs every test;
# then builds the logic again under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs its tests there, and runs the parser fuzzers for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# ctest in a build folder; where UTQ_REAL_PARTS_REQUIRED is set (CI), a test
# that ctest counts as skipped fails the run too.
run_ctest() {
  local dir="$1"
  shift
  (cd "$dir" && ctest --output-on-failure "$@") | tee "$dir/ctest.log"
  if [ -n "${UTQ_REAL_PARTS_REQUIRED:-}" ] && grep -q '\*\*\*Skipped' "$dir/ctest.log"; then
    echo "skipped where every test must run:" >&2
    grep '\*\*\*Skipped' "$dir/ctest.log" >&2
    return 1
  fi
}

scripts/build.sh build-ci -DUTQ_WERROR=ON
# gamedig, a query tool of the npm registry, checks our parse of the fake servers.
npm install --silent --no-audit --no-fund --prefix build-ci/tools gamedig@5.3.3 >/dev/null
run_ctest build-ci --timeout 300

scripts/build.sh build-sanitize -DUTQ_WERROR=ON -DUTQ_SANITIZE=ON -DUTQ_GUI=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build-sanitize --timeout 300 -L logic

# The parser fuzzers, built with clang's libFuzzer, each for a bounded time.
CXX=clang++ scripts/build.sh build-fuzz -DUTQ_FUZZ=ON -DUTQ_GUI=OFF
run_ctest build-fuzz -L fuzz
