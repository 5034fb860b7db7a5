#!/usr/bin/env bash
# Runs a sweep (or a long series) of teravo-sim as a Slurm job array, one part per array
# task, and merges the parts in a last job that starts once every task has ended well.
#
#   bash scripts/slurm-sweep.sh OUTDIR TOTAL TASKS TERAVO-SIM-ARGS...
#
# TERAVO-SIM-ARGS are those of `teravo-sim sweep` or `teravo-sim series`, the command first,
# or the older form without a command (--sweep ... or --series ...).
# TOTAL is the number of points of the sweep (its values, each counted once) or, for a
# series, the number of plays of the series (edK); each of the TASKS tasks runs about
# TOTAL / TASKS of them. The arguments must hold --seed, and should hold --decimal-separator:
# the parts of one run must agree, whatever the locale of the node.
# The whole document is written to OUTDIR/whole.json; the parts stay as OUTDIR/part-*.json.
#
# TERAVO_SIM names the runner (default: teravo-sim on the PATH of the nodes); SBATCH_OPTS
# adds sbatch options to every job, e.g. SBATCH_OPTS="--partition=short --cpus-per-task=4".
# Each task runs its plays on the CPUs Slurm gives it.
#
# Example:
#   bash scripts/slurm-sweep.sh runs/programmers 10 5 --sweep 'edProgrammersNum=1:10:10' \
#     --set edK=200 --set edCoeffComplexity=0,01 --seed 7 --decimal-separator ,
set -euo pipefail

sim=${TERAVO_SIM:-teravo-sim}

# A sweep splits by points, a series by plays.
part_option() {
  [[ ${1:-} == sweep ]] && { echo --points; return; }
  for arg in "$@"; do
    [[ $arg == --sweep || $arg == --sweep=* ]] && { echo --points; return; }
  done
  echo --plays
}

case ${1:-} in
  --task)  # one array task: its share of the points or plays
    shift
    out=$1 total=$2 tasks=$3
    shift 3
    t=$SLURM_ARRAY_TASK_ID
    first=$((t * total / tasks + 1))
    last=$(((t + 1) * total / tasks))
    part=$out/part-$t.json
    # A command, when named, comes first.
    command=()
    [[ ${1:-} == sweep || ${1:-} == series ]] && { command=("$1"); }
    status=0
    "$sim" "${command[@]}" --threads "${SLURM_CPUS_PER_TASK:-1}" "${@:${#command[@]}+1}" \
      "$(part_option "$@")" "$first-$last" \
      >"$part" || status=$?
    # 2 with a document: some values of the sweep were refused, and the merge tells which.
    [[ $status == 0 || ($status == 2 && -s $part) ]]
    exit
    ;;
  --merge)
    out=$2
    status=0
    "$sim" merge "$out"/part-*.json >"$out/whole.json" || status=$?
    [[ $status == 0 || ($status == 2 && -s $out/whole.json) ]]
    exit
    ;;
esac

if (($# < 4)); then
  sed -n '2,21p' "$0" >&2
  exit 2
fi
out=$1 total=$2 tasks=$3
shift 3
if ((tasks < 1 || tasks > total)); then
  echo "slurm-sweep: TASKS must be from 1 to TOTAL ($total)" >&2
  exit 2
fi
mkdir -p "$out"
out=$(readlink -f "$out")
rm -f "$out"/part-*.json "$out/whole.json"
script=$(readlink -f "$0")
# shellcheck disable=SC2086  # SBATCH_OPTS holds several options
array=$(sbatch --parsable ${SBATCH_OPTS:-} --job-name=teravo-part --array="0-$((tasks - 1))" \
  --output="$out/task-%a.log" "$script" --task "$out" "$total" "$tasks" "$@")
# shellcheck disable=SC2086
merge=$(sbatch --parsable ${SBATCH_OPTS:-} --job-name=teravo-merge \
  --dependency="afterok:${array%%;*}" --output="$out/merge.log" "$script" --merge "$out")
echo "parts: job array ${array%%;*}; merge: job ${merge%%;*} -> $out/whole.json"
