#!/usr/bin/env bash
# Fits the simulation to data the model made itself with known edits (edErrorsNum0 = 80,
# edMu = 10 on a 50-client complex over two days) and prints, over the replicate data sets,
# how often the 95 % intervals hold the truth and the median relative error of each estimate.
# Usage: scripts/calibration-recovery.sh [REPLICATES [PLAYS [edX=TEXT ...]]]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake --build "$build" --target calibration_recovery -j2 >/dev/null
"$build/tests/calibration_recovery" "${1:-20}" "${2:-20}" "${@:3}"
