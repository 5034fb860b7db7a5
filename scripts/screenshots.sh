#!/usr/bin/env bash
# Starts the real program under a virtual X server, lets it walk through the settings
# dialog, one play and one series (teravo-demo), and saves a picture of the screen at
# each stage into screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
if [[ ! -x "$build/app/teravo-demo" ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j"$(nproc)" --target teravo-demo
fi
mkdir -p screenshots
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Inside the virtual server: run the program, and photograph each stage it announces.
xvfb-run -a -s "-screen 0 1400x900x24" bash -c '
  set -euo pipefail
  "$1" >"$2" &
  program=$!
  for stage in settings play series; do
    until grep -q "^stage $stage\$" "$2"; do
      kill -0 "$program" 2>/dev/null || { echo "program ended before stage $stage" >&2; exit 1; }
      sleep 0.2
    done
    sleep 0.7
    import -window root "screenshots/$stage.png"
    echo "screenshots/$stage.png"
  done
  wait "$program"
' screenshots "$build/app/teravo-demo" "$log"
