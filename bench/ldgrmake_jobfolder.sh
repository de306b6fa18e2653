#!/usr/bin/env bash
# Measures ldgrmake in a job folder shared by every workstation (LogAllUsers, users\general):
# one run into an empty folder against one into a folder of 30,000 jobs (median of 7, runs of
# the two alternating), then 16 writers of 10 runs each into either folder: wall time, and the
# record moves tried per record written (renameat2 calls, which only the record's move makes,
# counted by perf from the kernel's tracepoint without stopping the runs, as a tracer would);
# and one run into a folder planted with 100,000 names shaped as the suite's job temporaries
# (half an hour old and half an hour ahead) against one of 100,000 other names (median of 7).
#   bench/ldgrmake_jobfolder.sh [ldgrmake executable]   (needs perf; default: builds the
#   default preset and measures its ldgrmake)
set -euo pipefail
source "$(dirname "$0")/setup.sh"
setup_benchmark "${1:-}"
writers=16 runs_each=10 single_runs=7 jobs_in_full=30000

# A prefix with the example environment, every user logging as "general".
make_world() {
  local prefix="$work/$1"
  mkdir -p "$prefix/drive_c/Ledgerline/Data/users/general"
  cp "$root/examples/registry.reg" "$prefix/registry.reg"
  sed 's/^LogAllUsers *=.*/LogAllUsers              = True/' "$root/examples/Config.ini" \
    > "$prefix/drive_c/Ledgerline/Config.ini"
  LDGR_PREFIX="$prefix" "$exe" 2>/dev/null # builds the skeleton and the working copy
  rm -f "$prefix/drive_c/Ledgerline/Data/users/general/"*
}
folder_of() { echo "$work/$1/drive_c/Ledgerline/Data/users/general"; }

make_world empty
make_world full
( cd "$(folder_of full)" && for n in $(seq 1 2 "$jobs_in_full"); do : > "$n.prt"; : > "$((n + 1)).dat"; done )

# Removes what the runs wrote: every record above the jobs the folder was given.
reset_folder() {
  local keep="$2"
  find "$(folder_of "$1")" -name '*.prt' -newer "$work/stamp" -delete
  [ "$(ls "$(folder_of "$1")" | wc -l)" -eq "$keep" ] || { echo "unexpected files in $1" >&2; exit 1; }
}
touch "$work/stamp"; sleep 1.1

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

one_run() {
  LDGR_PREFIX="$work/$1" timed "$exe" 2>/dev/null
  echo $(( elapsed_us / 100 )) # tenths of a millisecond
}
: > "$work/single.empty"; : > "$work/single.full"
for _ in $(seq "$single_runs"); do
  one_run empty >> "$work/single.empty"; reset_folder empty 0
  one_run full >> "$work/single.full"; reset_folder full "$jobs_in_full"
done
single_empty=$(median < "$work/single.empty")
single_full=$(median < "$work/single.full")

# 16 writers of 10 runs each, optionally each run under a wrapper command; checks that every
# record was written once under its own number.
writers_run() {
  local world="$1" before="$2"; shift 2
  local pids=()
  for w in $(seq "$writers"); do
    ( for r in $(seq "$runs_each"); do LDGR_PREFIX="$work/$world" "$@" "$exe" 2>/dev/null || echo failed; done ) &
    pids+=($!)
  done
  wait "${pids[@]}"
  local expected=$((before + writers * runs_each))
  [ "$(ls "$(folder_of "$world")" | wc -l)" -eq "$expected" ] || { echo "records missing in $world" >&2; exit 1; }
}
writers_wall() {
  timed writers_run "$1" "$2" > "$work/failures"
  [ ! -s "$work/failures" ] || { echo "runs failed in $1" >&2; exit 1; }
  reset_folder "$1" "$2"
  echo $((elapsed_us / 1000))
}
moves_per_record() {
  rm -rf "$work/moves"; mkdir "$work/moves"
  # One count file per run, named by the shell that becomes the counted run.
  writers_run "$1" "$2" sh -c 'exec perf stat -x, -e syscalls:sys_enter_renameat2 -o "$0/$$" "$@"' \
    "$work/moves" >/dev/null
  reset_folder "$1" "$2"
  cat "$work"/moves/* | awk -F, -v records=$((writers * runs_each)) '/renameat2/ { n += $1 }
    END { printf "%.2f (%d moves tried for %d records)", n / records, n, records }'
}

# Folders of many names, half stamped half an hour ago and half half an hour ahead: made once
# as a template, each run given a fresh copy (hard links, made outside the time measured) so
# that what one run swept is there again for the next.
planted=100000
make_names() {
  local template="$work/template.$1"
  mkdir -p "$template"
  ( cd "$template"
    printf "$2\n" $(seq "$planted") > "$work/names"
    xargs touch < "$work/names"
    head -n $((planted / 2)) "$work/names" | xargs touch -d '-30 minutes'
    tail -n +$((planted / 2 + 1)) "$work/names" | xargs touch -d '+30 minutes' )
}
fresh_copy() {
  rm -rf "$(folder_of "$1")"
  cp -al "$work/template.$1" "$(folder_of "$1")"
}
make_world planted; make_names planted '~job%016d.tmp'
make_world others; make_names others 'note%016d.txt'
: > "$work/single.planted"; : > "$work/single.others"
for _ in $(seq "$single_runs"); do
  fresh_copy planted; one_run planted >> "$work/single.planted"
  fresh_copy others; one_run others >> "$work/single.others"
done
single_planted=$(median < "$work/single.planted")
single_others=$(median < "$work/single.others")

multi_empty=$(writers_wall empty 0)
multi_full=$(writers_wall full "$jobs_in_full")
moves_empty=$(moves_per_record empty 0)
moves_full=$(moves_per_record full "$jobs_in_full")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1fx", a / b }'; }
ms() { awk -v t="$1" 'BEGIN { printf "%.1f ms", t / 10 }'; }
printf 'one run, median of %d:     empty %s   %d jobs %s   (%s)\n' "$single_runs" \
  "$(ms "$single_empty")" "$jobs_in_full" "$(ms "$single_full")" "$(ratio "$single_full" "$single_empty")"
printf 'one run, median of %d:     %d other names %s   %d job temporaries %s   (%s)\n' \
  "$single_runs" "$planted" "$(ms "$single_others")" "$planted" "$(ms "$single_planted")" \
  "$(ratio "$single_planted" "$single_others")"
printf '%d writers x %d runs, wall: empty %d ms   %d jobs %d ms   (%s)\n' "$writers" "$runs_each" \
  "$multi_empty" "$jobs_in_full" "$multi_full" "$(ratio "$multi_full" "$multi_empty")"
printf 'record moves per record:     empty %s   %d jobs %s\n' "$moves_empty" "$jobs_in_full" "$moves_full"
