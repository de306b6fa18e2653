#!/usr/bin/env bash
# Measures one run of ldgrmake on an empty job folder and on one holding 20,000 jobs, with a
# configuration of 1,000 printer groups: wall time, and the file-system calls (strace -c),
# counting apart those that name the job folder.
#   bench/ldgrmake_jobs.sh [runs]      (needs strace; builds the default preset first)
set -euo pipefail
source "$(dirname "$0")/setup.sh"
setup_benchmark
runs="${1:-5}"
export LDGR_PREFIX="$work/prefix"
jobs="$LDGR_PREFIX/drive_c/Ledgerline/Data/users/alice"
mkdir -p "$jobs"
cp "$root/examples/registry.reg" "$LDGR_PREFIX/registry.reg"

# The example's general options with 1,000 printer groups of 5 categories of 10 values.
"$root/bench/make_config.sh" 1000 > "$LDGR_PREFIX/drive_c/Ledgerline/Config.ini"

measure() {
  local label="$1" best=""
  "$exe" 2>/dev/null # warm-up; also builds the prefix skeleton
  for _ in $(seq "$runs"); do
    find "$jobs" -newer "$work/stamp" -name '*.prt' -delete
    local ms
    timed "$exe" 2>/dev/null
    ms=$(( elapsed_us / 1000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  find "$jobs" -newer "$work/stamp" -name '*.prt' -delete
  strace -f -qq -c -o "$work/summary.txt" "$exe" 2>/dev/null
  find "$jobs" -newer "$work/stamp" -name '*.prt' -delete
  strace -f -qq -e trace=%file,%desc -o "$work/trace.txt" "$exe" 2>/dev/null
  find "$jobs" -newer "$work/stamp" -name '*.prt' -delete
  local total folder dirreads
  total=$(awk '$NF == "total" { print $(NF-2) }' "$work/summary.txt")
  folder=$(grep -c "Data/users/alice" "$work/trace.txt" || true)
  dirreads=$(grep -c "getdents64" "$work/trace.txt" || true)
  printf '%-22s best of %s: %5d ms   system calls: %7s   naming the job folder: %4s   directory reads: %4s\n' \
    "$label" "$runs" "$best" "$total" "$folder" "$dirreads"
}

touch "$work/stamp"; sleep 1.1
measure "empty job folder"
( cd "$jobs" && for n in $(seq 1 10000); do : > "$n.prt"; : > "$((n + 10000)).dat"; done )
touch "$work/stamp"; sleep 1.1
measure "20,000 jobs"
