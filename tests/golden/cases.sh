#!/usr/bin/env bash
# The runner's output for a fixed list of seeded runs, with the date in play titles masked.
# Usage: cases.sh TERAVO_SIM OUTDIR  — writes one NAME.out (stdout, then stderr, then the exit
# status) per case into OUTDIR. The stored expectations are these files, gzipped.
set -uo pipefail
sim=$1
dir=$2
mkdir -p "$dir"

large=(--set edClientsNum=1000 --set edProgrammersNum=10 --set edA=0,000001
       --set edErrorsNum0=1000 --set edCoeffComplexity=0,01)
declare -A sets=(
  [defaults]=""
  [server-up]="--set edCoeffComplexity=0,01"
  [large]="${large[*]}"
)

run() {
  local name=$1
  shift
  {
    "$sim" --decimal-separator , "$@" 2>"$dir/$name.err"
    local status=$?
    echo "== stderr"
    cat "$dir/$name.err"
    echo "== exit $status"
  } | sed -E 's/("title":"№[0-9]+ розыгрыш  )[^"]*"/\1<date>"/g' >"$dir/$name.out"
  rm -f "$dir/$name.err"
}

for set in defaults server-up large; do
  for seed in 1 7 3665295956; do
    # shellcheck disable=SC2086
    run "$set-$seed" ${sets[$set]} --seed "$seed"
  done
done
run series-moment --series --set edK=4 --set edM=2000 --seed 11 --moment 0,75
run refused --set edClientsNum=0 --set edA=0,5 --seed 3
run corrected --set edYk=2000 --set edA=0,001 --set edM=300 --seed 5 --no-series
