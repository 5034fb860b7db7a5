#!/usr/bin/env bash
# Starts the real program in Russian under a virtual X server with a window manager, lets it
# walk through the settings dialog, one play, a series, the series tiled, the window menu, a
# child window's menu, the distributions window and that window with its plays deleted, the
# averages window with its 5–95 % bands, its own menu, its spread table and its export dialog,
# the File menu, a parameter sweep's dialog and result window, and the failure data of SYS1:
# its import dialog, the trend, models and forecast of its analysis and the simulation fitted
# to it, the window of the analyst's questions with its three tabs, and the user's guide at
# its parameters (teravo-demo), and saves a picture of the screen at each stage into
# screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh all
build=${BUILD_DIR:-build}
if [[ ! -x "$build/app/teravo-demo" ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j"$(nproc)" --target teravo-demo
fi

# The pictures show what a Russian user sees: decimal comma, Qt's own texts in Russian.
if ! locale -a | grep -qix 'ru_RU.utf8'; then
  localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
export TERAVO_DEMO_DATA=${TERAVO_DEMO_DATA:-$PWD/tests/data/SYS1.csv}

# SCREENSHOTS_DIR keeps a second set apart, e.g. the pictures at QT_SCALE_FACTOR=1.5.
out=${SCREENSHOTS_DIR:-screenshots}
mkdir -p "$out"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

stages="settings play series tiled window-menu child-menu distributions emptied bands context-menu spread export file-menu sweep-dialog sweep data-import data-trend data-models data-forecast calibration calibration-forecast decisions-menu decisions decisions-staffing decisions-cost guide"
# Inside the virtual server: a window manager for frames and placement, the program, and a
# picture of each stage it announces.
xvfb-run -a -s "-screen 0 1400x900x24" bash -c '
  set -euo pipefail
  openbox >/dev/null 2>&1 &
  sleep 1
  "$1" >"$2" &
  program=$!
  for stage in $3; do
    until grep -q "^stage $stage\$" "$2"; do
      kill -0 "$program" 2>/dev/null || { echo "program ended before stage $stage" >&2; exit 1; }
      sleep 0.2
    done
    sleep 0.7
    import -window root "$4/$stage.png"
    echo "$4/$stage.png"
  done
  wait "$program"
' screenshots "$build/app/teravo-demo" "$log" "$stages" "$out"
