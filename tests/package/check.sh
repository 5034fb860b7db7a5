#!/usr/bin/env bash
# Unpacks the Debian package into a clean folder and checks that it holds an installed
# program: both programs with every library they need, the desktop entry, the icons, the
# manual pages, the README and the guide with all its pictures; then runs the unpacked
# teravo-sim on seeded runs and compares its output with the build's, byte for byte.
# Usage: check.sh PACKAGE.deb BUILD_TERAVO_SIM
set -euo pipefail
deb=$1
built_sim=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

failed=0
fail() { echo "package: $*"; failed=1; }

files=(usr/bin/teravo usr/bin/teravo-sim usr/share/applications/teravo.desktop
  usr/share/man/man1/teravo.1.gz usr/share/man/man1/teravo-sim.1.gz
  usr/share/doc/teravo/README.md usr/share/doc/teravo/copyright
  usr/share/doc/teravo/guide/guide.html)
for size in 16 32 48 64 128 256; do
  files+=("usr/share/icons/hicolor/${size}x${size}/apps/teravo.png")
done
for picture in $(grep -o 'screenshots/[a-z-]*\.png' "$here/../../docs/guide.md" | sort -u); do
  files+=("usr/share/doc/teravo/guide/$picture")
done
for file in "${files[@]}"; do
  [[ -s $root/$file ]] || fail "missing $file"
done
for program in teravo teravo-sim; do
  if ldd "$root/usr/bin/$program" | grep -q 'not found'; then
    fail "$program needs a library the machine lacks: $(ldd "$root/usr/bin/$program" | grep 'not found')"
  fi
done
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* ]] || fail "Depends lacks the Qt widgets library: $depends"

# The installed runner gives what the build's gives, to the byte, but for the clock's date and
# time in the play titles.
seeded() {
  "$@" | sed -E 's/("title":"№[0-9]+ розыгрыш  )[^"]*"/\1<date>"/g'
}
runs=("play --set edM=1000 --seed 7"
  "series --set edK=4 --set edM=500 --seed 11 --no-points --threads 2")
for run in "${runs[@]}"; do
  # shellcheck disable=SC2086  # each run is a list of arguments
  if ! cmp -s <(seeded "$root/usr/bin/teravo-sim" $run) <(seeded "$built_sim" $run); then
    fail "teravo-sim $run: the installed program's output differs from the build's"
  fi
done
[[ $failed == 0 ]] && echo "package holds ${#files[@]} files as expected; the installed teravo-sim agrees with the build's"
exit $failed
