#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test. The same tests under the
# sanitizers are scripts/sanitize.sh, which CI runs next.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTERAVO_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
