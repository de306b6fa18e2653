#!/usr/bin/env bash
# Peak memory (the largest resident set, from the kernel's account of the finished child) of
# ldgrmake's run and of ldgrcheck reading the same configuration: the example's options with
# 1,000 printer groups, and with 5,000,000 further sections of one entry each (90 MB).
#   bench/peak_memory.sh [ldgrmake executable] [ldgrcheck executable]   (needs /usr/bin/time;
#   default: builds the default preset and measures its programs)
set -euo pipefail
source "$(dirname "$0")/setup.sh"
setup_benchmark "${1:-}"
check="${2:-}"
if [ -z "$check" ]; then
  cmake --build --preset default --target ldgrcheck >/dev/null
  check="$root/build/default/tools/ldgrcheck/ldgrcheck"
fi

# A prefix whose shared configuration is the named file's content.
prepare() {
  local prefix="$work/$1"
  mkdir -p "$prefix/drive_c/Ledgerline/Data/users/alice"
  cp "$root/examples/registry.reg" "$prefix/registry.reg"
  cat > "$prefix/drive_c/Ledgerline/Config.ini"
}
"$root/bench/make_config.sh" 1000 | prepare groups
{
  "$root/bench/make_config.sh" 0
  awk 'BEGIN { for (s = 1; s <= 5000000; s++) printf "[S%d]\r\nKey=1\r\n", s }'
} | prepare sections

# Peak resident set of one run in kilobytes; its record removed again.
peak_kb() {
  local prefix="$work/$1"
  shift
  LDGR_PREFIX="$prefix" /usr/bin/time -f '%M' -o "$work/peak" "$@" >/dev/null 2>&1 || true
  find "$prefix/drive_c/Ledgerline/Data/users/alice" -name '*.prt' -delete
  cat "$work/peak"
}

mb() { awk -v kb="$1" 'BEGIN { printf "%7.1f MB", kb / 1024 }'; }
for name in groups sections; do
  config="Z:$work/$name/drive_c/Ledgerline/Config.ini"
  LDGR_PREFIX="$work/$name" "$exe" 2>/dev/null || true # the working copy made once, as at every later start
  make=$(peak_kb "$name" "$exe")
  checked=$(peak_kb "$name" "$check" "$config")
  printf '%-8s  file %s   ldgrmake peak %s   ldgrcheck peak %s\n' "$name" \
    "$(mb $(( $(stat -c %s "$work/$name/drive_c/Ledgerline/Config.ini") / 1024 )))" \
    "$(mb "$make")" "$(mb "$checked")"
done
