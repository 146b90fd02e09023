#!/usr/bin/env bash
# Brings up a single-node Slurm on this machine (munged, slurmctld and slurmd on localhost, all
# in a temporary folder, on free ports), submits a sweep folder's job-array script, waits for
# it, and tears everything down again whatever happens.
#   scripts/slurm-test.sh SWEEP_DIR     (a folder written by tavrine-batch sweep --slurm)
set -euo pipefail
sweep_dir=$(cd "$1" && pwd)
work=$(mktemp -d /tmp/tavrine-slurm.XXXXXX)
pids=()

cleanup() {
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

fail() {
  echo "slurm-test: $*" >&2
  for log in "$work"/*.log "$work"/*.out; do
    [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
  done
  exit 1
}

# Two free TCP ports on localhost, by asking the kernel for them.
read -r ctld_port slurmd_port < <(python3 -c '
import socket
socks = [socket.socket() for _ in range(2)]
for s in socks: s.bind(("127.0.0.1", 0))
print(*[s.getsockname()[1] for s in socks])')

node=$(hostname -s)
mkdir -p "$work/state" "$work/spool"
chmod 700 "$work"
mungekey --create --keyfile="$work/munge.key" 2>/dev/null ||
  dd if=/dev/urandom of="$work/munge.key" bs=1024 count=1 status=none
chmod 600 "$work/munge.key"
munged --foreground --force --socket="$work/munge.socket" --key-file="$work/munge.key" \
  --pid-file="$work/munged.pid" --seed-file="$work/munged.seed" \
  --log-file="$work/munged.log" >"$work/munged.out" 2>&1 &
pids+=($!)

cat >"$work/slurm.conf" <<CONF
ClusterName=tavrinetest
SlurmctldHost=$node(127.0.0.1)
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
AuthType=auth/munge
AuthInfo=socket=$work/munge.socket
CredType=cred/munge
SlurmUser=$(id -un)
SlurmdUser=$(id -un)
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SchedulerType=sched/backfill
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
MpiDefault=none
MailProg=/bin/true
NodeName=$node NodeAddr=127.0.0.1 CPUs=$(nproc) State=UNKNOWN
PartitionName=sweep Nodes=ALL Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF="$work/slurm.conf"

for _ in $(seq 50); do [ -S "$work/munge.socket" ] && break; sleep 0.1; done
[ -S "$work/munge.socket" ] || fail "munged did not start"
slurmctld -D -i -f "$SLURM_CONF" >"$work/slurmctld.out" 2>&1 &
pids+=($!)
slurmd -D -N "$node" -f "$SLURM_CONF" >"$work/slurmd.out" 2>&1 &
pids+=($!)

# The node must report idle before anything is submitted; give up after a minute.
state=""
for _ in $(seq 60); do
  state=$(sinfo -h -N -o %T 2>/dev/null | head -n 1 || true)
  [ "$state" = idle ] && break
  sleep 1
done
[ "$state" = idle ] || fail "the node did not become idle within 60 s (state: ${state:-none})"
echo "slurm-test: single-node Slurm up ($node, ports $ctld_port and $slurmd_port)"

# A variant whose command fails is the summary's business; only a job that never ends is ours.
status=0
timeout 300 sbatch --wait --quiet "$sweep_dir/sweep.sbatch" || status=$?
[ "$status" -ne 124 ] || fail "the job array did not finish within 300 s"
echo "slurm-test: job array finished (highest exit code $status)"
