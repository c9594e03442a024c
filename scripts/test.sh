#!/usr/bin/env bash
# test.sh: builds and runs the whole test suite twice, as the project builds it
# and under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  echo "== build $dir $*"
  "$root/scripts/build.sh" "$dir" -DGD_WERROR=ON "$@"
  echo "== test $dir"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 300
}

run_suite "$root/build-test"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite "$root/build-sanitize" -DGD_SANITIZE=ON -DGD_BUILD_BENCH=OFF
