#!/usr/bin/env bash
# Compares the runner's output for every case of cases.sh, byte for byte, with the stored
# expectations in expected/. With --update it rewrites them instead: do that only for a
# change meant to move results, and say so in the commit.
# Usage: check.sh TERAVO_SIM [--update]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sim=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$here/cases.sh" "$sim" "$work"

if [[ ${2:-} == --update ]]; then
  rm -f "$here"/expected/*.out.gz
  for out in "$work"/*.out; do gzip -n -9 -c "$out" >"$here/expected/$(basename "$out").gz"; done
  echo "updated $(ls "$work" | wc -l) expectations"
  exit 0
fi

failed=0
for expected in "$here"/expected/*.out.gz; do
  name=$(basename "$expected" .gz)
  if [[ ! -f $work/$name ]]; then
    echo "missing case: $name"
    failed=1
  elif ! zcat "$expected" | cmp -s - "$work/$name"; then
    echo "differs: $name"
    zcat "$expected" | cmp - "$work/$name" | head -n 1 || true
    failed=1
  fi
done
for out in "$work"/*.out; do
  [[ -f $here/expected/$(basename "$out").gz ]] || { echo "no expectation for $(basename "$out")"; failed=1; }
done
[[ $failed == 0 ]] && echo "all $(ls "$here"/expected | wc -l) runs agree"
exit $failed
