#!/usr/bin/env bash
# Builds and runs the benchmarks (Release): the model and the play drivers, then the
# desktop program's commands offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target teravo_bench teravo_ui_bench
build/bench/teravo_bench "$@"
QT_QPA_PLATFORM=offscreen build/bench/teravo_ui_bench
