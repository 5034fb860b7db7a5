#!/usr/bin/env bash
# Builds the standard-C++ layers with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# their tests again, then the parallel series and the runner's tests under ThreadSanitizer.
# Any sanitizer report fails the run. CI runs it after scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTERAVO_SANITIZE=ON -DTERAVO_WERROR=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTERAVO_TSAN=ON -DTERAVO_WERROR=ON >/dev/null
cmake --build build-tsan -j"$jobs" --target teravo_play_tests teravo_tools_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir build-tsan --output-on-failure -j"$jobs" -R 'Series|Thread|PlayMultiple'
