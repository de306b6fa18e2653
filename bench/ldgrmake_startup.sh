#!/usr/bin/env bash
# Measures start-up against the size of the configuration: runs of ldgrmake with 1 printer
# group and with 1,000 (median of N runs each, alternating; 21 by default, as the median of a
# few runs moves the ratio by a few tenths), and the file-system calls that each option read
# costs, from the difference of the two traces: 1,000 groups make 11,988 option reads more
# than 1 group (6 passes of 2 entries for each further group).
#   bench/ldgrmake_startup.sh [runs] [ldgrmake executable]   (needs strace; default: builds
#   the default preset and measures its ldgrmake)
set -euo pipefail
source "$(dirname "$0")/setup.sh"
setup_benchmark "${2:-}"
runs="${1:-21}"
for groups in 1 1000; do
  prefix="$work/prefix$groups"
  mkdir -p "$prefix/drive_c/Ledgerline/Data/users/alice"
  cp "$root/examples/registry.reg" "$prefix/registry.reg"
  "$root/bench/make_config.sh" "$groups" > "$prefix/drive_c/Ledgerline/Config.ini"
  LDGR_PREFIX="$prefix" "$exe" 2>/dev/null # builds the skeleton and the working copy
done

# One timed run in microseconds, its record removed again (a step of a tenth of a millisecond
# in the one-group time moves the ratio by almost two tenths).
run_time() {
  local prefix="$work/prefix$1"
  LDGR_PREFIX="$prefix" timed "$exe" 2>/dev/null
  find "$prefix/drive_c/Ledgerline/Data/users/alice" -name '*.prt' -delete
  echo "$elapsed_us"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: > "$work/t1"; : > "$work/t1000"
for _ in $(seq "$runs"); do
  run_time 1 >> "$work/t1"
  run_time 1000 >> "$work/t1000"
done
one=$(median < "$work/t1"); many=$(median < "$work/t1000")

# File-system calls: those that name a path or work on a descriptor.
fs_calls() {
  local prefix="$work/prefix$1"
  LDGR_PREFIX="$prefix" strace -f -qq -c -e trace=%file,%desc -o "$work/summary$1.txt" "$exe" 2>/dev/null
  find "$prefix/drive_c/Ledgerline/Data/users/alice" -name '*.prt' -delete
  awk '$NF == "total" { print $(NF-2) }' "$work/summary$1.txt"
}
calls1=$(fs_calls 1); calls1000=$(fs_calls 1000)

ms() { awk -v t="$1" 'BEGIN { printf "%.2f ms", t / 1000 }'; }
printf 'start-up, 1 printer group:      median of %s: %8s   file-system calls: %7s\n' "$runs" "$(ms "$one")" "$calls1"
printf 'start-up, 1,000 printer groups: median of %s: %8s   file-system calls: %7s\n' "$runs" "$(ms "$many")" "$calls1000"
awk -v one="$one" -v many="$many" -v c1="$calls1" -v c2="$calls1000" 'BEGIN {
  printf "1,000 groups cost %.2fx one group; %.2f file-system calls per option read\n",
         (one > 0 ? many / one : 0), (c2 - c1) / 11988
}'
