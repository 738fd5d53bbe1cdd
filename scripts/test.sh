#!/usr/bin/env bash
# Every test: the suite in the normal build, then again under AddressSanitizer
# and UndefinedBehaviorSanitizer; the benchmarks are built in Release.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/prerequisiti.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
JOBS=$(nproc)

for preset in dev asan; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$JOBS"
  echo "== test $preset"
  ctest --preset "$preset" -j "$JOBS"
done

echo "== benchmarks (release build)"
cmake --preset release >/dev/null
cmake --build --preset release -j "$JOBS" --target qzkiro-bench
