#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, ASan and UBSan, and runs them from their seed
# corpora for SECONDS in all (default 60), split evenly: the number texts, acceptance and
# plays (teravo_fuzz), the failure-data reader (teravo_failure_data_fuzz), then the readers of
# parameter files and of the parts of a run (teravo_files_fuzz). A crash, a
# sanitizer report, a leak, a timeout or running out of memory fails the run; the input that did it is left in build-fuzz/findings/.
#   bash scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/install-deps.sh all

build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DTERAVO_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target teravo_fuzz teravo_failure_data_fuzz \
  teravo_files_fuzz

# run TARGET CORPUS SEEDS SECONDS. New inputs go to CORPUS, which grows from run to run (a
# sibling folder per target: libFuzzer reads a corpus folder with its subfolders); the seeds
# stay as shipped.
run() {
  mkdir -p "$2" "$build/findings"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/tests/fuzz/$1" "$2" "$3" \
    -max_total_time="$4" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/findings/$1-" -print_final_stats=1
}
third=$(((seconds + 2) / 3))
run teravo_fuzz "$build/corpus" tests/fuzz/corpus "$third"
run teravo_failure_data_fuzz "$build/corpus-failure-data" tests/fuzz/failure_data_corpus "$third"
run teravo_files_fuzz "$build/corpus-files" tests/fuzz/files_corpus "$third"
