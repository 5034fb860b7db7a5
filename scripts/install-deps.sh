#!/usr/bin/env bash
# Installs the Debian packages Teravo needs. With no argument: what building, testing,
# running and benchmarking need. With `all`: also what fuzzing (clang), the screenshots
# (Xvfb, a window manager, ImageMagick) and formatting need, as CI does.
# Idempotent: when everything is present it only checks and returns.
#   bash scripts/install-deps.sh [all]
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev libqcustomplot-dev libgl-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcli11-dev nlohmann-json3-dev libboost-math-dev
  libnlopt-cxx-dev libzip-dev libexpat1-dev
  qt6-translations-l10n locales fonts-dejavu-core
  python3-markdown
)
case "${1:-}" in
  "") ;;
  all)
    packages+=(
      clang libclang-rt-dev llvm clang-format
      xvfb xauth imagemagick openbox
    )
    ;;
  *)
    echo "usage: $0 [all]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
