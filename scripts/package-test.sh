#!/usr/bin/env bash
# Makes the Debian package (scripts/package.sh) and checks it unpacked in a clean folder
# (tests/package/check.sh): what it holds, and the installed teravo-sim's output against the
# build's.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
deb=$(BUILD_DIR=$build bash scripts/package.sh | tail -n 1)
bash tests/package/check.sh "$deb" "$build/tools/teravo-sim"
