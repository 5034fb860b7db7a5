#!/usr/bin/env bash
# Builds the libFuzzer target with clang, ASan and UBSan, and runs it for SECONDS (default
# 60) from the seed corpus. A crash, a sanitizer report, a leak, a timeout or running out of
# memory fails the run; the input that did it is left in build-fuzz/findings/.
#   bash scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/install-deps.sh

build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DTERAVO_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target teravo_fuzz

# New inputs go to the first folder, which grows from run to run; the seeds stay as shipped.
mkdir -p "$build/corpus" "$build/findings"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/tests/fuzz/teravo_fuzz" "$build/corpus" tests/fuzz/corpus \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/findings/" -print_final_stats=1
