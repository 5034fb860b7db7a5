#!/usr/bin/env bash
# Fits the simulation to each public failure data set of tests/data on the first 70 % of its
# span and prints its holdout PSSE beside the four classic models'.
# Usage: scripts/calibration-holdout.sh [PLAYS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake --build "$build" --target calibration_holdout -j2 >/dev/null
"$build/tests/calibration_holdout" "${1:-20}"
