# What the benchmark scripts share, sourced by each: the project's root, the ldgrmake to
# measure (the first argument given to setup_benchmark, else the default preset's, built
# first), a work folder removed when the script ends, with the identity of the runs, and a
# timer.
#   source "$(dirname "$0")/setup.sh"; setup_benchmark [ldgrmake executable]
setup_benchmark() {
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  exe="${1:-}"
  if [ -z "$exe" ]; then
    cmake --preset default -S "$root" >/dev/null
    cmake --build --preset default --target ldgrmake >/dev/null
    exe="$root/build/default/GUI/ldgrmake"
  fi
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  export LDGR_USERNAME=alice LDGR_COMPUTERNAME=PC17 LDGR_MSGBOX_LOG="$work/boxes.jsonl"
}

# Runs a command and sets elapsed_us to its wall time in microseconds. The clock is bash's own,
# so no helper process (such as date) falls inside the time measured.
timed() {
  local start=${EPOCHREALTIME//[.,]/}
  "$@"
  elapsed_us=$(( ${EPOCHREALTIME//[.,]/} - start ))
}
