#!/usr/bin/env bash
# Measures start-up against the size of the configuration: runs of ldgrmake with 1 printer
# group and with 1,000 (median of N runs each, alternating; 21 by default, as the median of a
# few runs moves the ratio by a few tenths), and the file-system calls that each option read
# costs, from the difference of the two traces: 1,000 groups make 11,988 option reads more
# than 1 group (6 passes of 2 entries for each further group).
# Then start-up over files far larger than they should be, wall time and peak memory (median
# of 3 runs each): a spool cache of 3 sparse gigabytes without a line end, read because the
# registry holds no spool folder; and a registry file of LDGR_BENCH_REGISTRY_MB megabytes
# (50 by default), which start-up asks some thirty times for a value.
#   bench/ldgrmake_startup.sh [runs] [ldgrmake executable]   (needs strace and GNU time;
#   default: builds the default preset and measures its ldgrmake)
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

# A prefix for one large-file case, started once (skeleton and working copy).
large_prefix() {
  local prefix="$work/$1"
  mkdir -p "$prefix/drive_c/Ledgerline/Data/users/alice"
  cp "$root/examples/registry.reg" "$prefix/registry.reg"
  "$root/bench/make_config.sh" 1 > "$prefix/drive_c/Ledgerline/Config.ini"
  LDGR_PREFIX="$prefix" "$exe" 2>/dev/null
  echo "$prefix"
}

# The regedit export of many keys of one value each, about $1 megabytes, then the example's.
large_registry() {
  awk -v mb="$1" 'BEGIN {
    printf "Windows Registry Editor Version 5.00\r\n\r\n"
    for (i = 0; i < mb * 1048576 / 100; i++)
      printf "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Bulk\\Key%07d]\r\n\"Value\"=\"generated text of key %07d........\"\r\n", i, i
  }'
  tail -n +2 "$root/examples/registry.reg"
}

# Median wall time and median peak memory of 3 runs in a prefix, their records removed again.
large_runs() {
  local prefix="$1"
  : > "$work/large"
  for _ in 1 2 3; do
    LDGR_PREFIX="$prefix" /usr/bin/time -f '%e %M' -a -o "$work/large" "$exe" 2>/dev/null
    find "$prefix/drive_c/Ledgerline/Data/users/alice" -name '*.prt' -delete
  done
  printf 'median of 3: %6.2f s   peak memory: %7.1f MB\n' \
    "$(awk '{ print $1 }' "$work/large" | median)" \
    "$(awk '{ print $2 / 1024 }' "$work/large" | median)"
}

spool=$(large_prefix spool)
grep -v DefaultSpoolDirectory "$root/examples/registry.reg" > "$spool/registry.reg"
truncate -s 3G "$spool/drive_c/users/alice/LdgrApp/spldir.txt"
printf 'start-up, 3 GB spool cache:      %s\n' "$(large_runs "$spool")"

megabytes="${LDGR_BENCH_REGISTRY_MB:-50}"
registry=$(large_prefix registry)
large_registry "$megabytes" > "$registry/registry.reg"
printf 'start-up, %s MB registry file:  %s\n' "$megabytes" "$(large_runs "$registry")"
