#!/usr/bin/env bash
# Draws the program's icon (a reliability curve rising through a cloud of simulated plays)
# at 256 pixels with ImageMagick and scales it to the sizes the program and the desktop
# entry use. The PNGs are kept in the repository; run this only to change the picture.
set -euo pipefail
cd "$(dirname "$0")"
# Seeded, so the cloud of plays comes out the same on every run.
dots=$(awk 'BEGIN { srand(7); for (i = 0; i < 45; ++i) {
  x = 40 + rand() * 180; t = (x - 40) / 180; y = 200 - 150 * (1 - exp(-3.2 * t));
  y += (rand() - 0.5) * 70 * (1 - 0.6 * t); r = 4 + rand() * 3;
  printf "circle %.1f,%.1f %.1f,%.1f ", x, y, x + r, y } }')
# The curve as short segments: ImageMagick closes a stroked polyline or path.
curve=$(awk 'BEGIN { for (x = 40; x < 220; x += 4) {
  printf "line %.1f,%.1f %.1f,%.1f ", x, y(x), x + 4, y(x + 4) } }
  function y(x) { return 200 - 150 * (1 - exp(-3.2 * (x - 40) / 180)) }')
convert -size 256x256 xc:none \
  -fill '#1f4e8c' -draw 'roundrectangle 8,8 247,247 44,44' \
  -stroke '#3f6fae' -strokewidth 3 -fill none \
  -draw 'line 40,60 220,60' -draw 'line 40,110 220,110' -draw 'line 40,160 220,160' \
  -stroke '#e8eef7' -strokewidth 8 -draw 'line 36,214 224,214' -draw 'line 36,214 36,40' \
  -stroke none -fill '#ffc94d' -draw "$dots" \
  -stroke white -strokewidth 10 -draw "$curve" \
  teravo-256.png
for size in 128 64 48 32 16; do
  convert teravo-256.png -resize "${size}x${size}" "teravo-$size.png"
done
