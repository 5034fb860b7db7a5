#!/usr/bin/env bash
# Makes the Debian package teravo_VERSION_ARCH.deb with CPack in the build tree that
# scripts/test.sh builds: the desktop program, teravo-sim, the desktop entry and icons, the
# manual pages, the README and the user's guide with fresh pictures from scripts/screenshots.sh.
# Checks it with lintian (installed when missing): an error fails the run, warnings are shown.
# Prints the package's path last.
#   bash scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh all
if ! command -v lintian >/dev/null; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends lintian >/dev/null
fi

build=${BUILD_DIR:-build}
# The package takes only what it installs: CPack then builds nothing more.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTERAVO_WERROR=ON \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" -j"$(nproc)" \
  --target teravo teravo-sim teravo-demo teravo_guide_html teravo_package_files
BUILD_DIR=$build bash scripts/screenshots.sh >/dev/null

rm -f "$build"/teravo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/teravo_*.deb)
lintian --fail-on error --tag-display-limit 0 "$deb" >&2
echo "$deb"
