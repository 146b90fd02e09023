#!/usr/bin/env bash
# One small sweep computed three ways from the same manifest: tavrine-batch's own --jobs 2,
# GNU parallel, and a Slurm job array on a single-node Slurm brought up for the purpose. The
# three summaries must be identical.
set -euo pipefail
cd "$(dirname "$0")/.."
batch=build/apps/tavrine-batch/tavrine-batch
work=$(mktemp -d /tmp/tavrine-sweeps.XXXXXX)
trap 'rm -rf "$work"' EXIT

"$batch" grid sector docs/sweep_example.csv -o "$work/ring.csv" \
  --ri 30 --ro 60 --divr 3 --divt 6 --start -45 --sweep 90 --disz 1
sweep() {  # folder, further options
  local dir=$1
  shift
  "$batch" sweep "$work/ring.csv" -o "$work/$dir" --vary SecMag.1.T=2:6:2 --sets sector "$@"
}

sweep jobs --jobs 2 >/dev/null

sweep parallel >/dev/null
parallel --will-cite --jobs 2 --halt never -a "$work/parallel/manifest.txt" || true
"$batch" collect "$work/parallel" >/dev/null

sweep slurm --slurm >/dev/null
scripts/slurm-test.sh "$work/slurm"
"$batch" collect "$work/slurm" >/dev/null

for how in parallel slurm; do
  if ! cmp -s "$work/jobs/summary.csv" "$work/$how/summary.csv"; then
    echo "sweep-test: the $how summary differs from the --jobs 2 summary" >&2
    diff <(iconv -f CP932 -t UTF-8 "$work/jobs/summary.csv") \
      <(iconv -f CP932 -t UTF-8 "$work/$how/summary.csv") >&2 || true
    exit 1
  fi
done
echo "sweep-test: --jobs 2, GNU parallel and Slurm give the same summary:"
iconv -f CP932 -t UTF-8 "$work/jobs/summary.csv"
