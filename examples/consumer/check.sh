#!/usr/bin/env bash
# Builds the example programs against the Ledgerline library in each way another program's
# project can (the installed package through find_package, the library's build tree through
# find_package, the installed package through pkg-config, the source tree as a subproject) and
# runs each build in the example environment.
#   examples/consumer/check.sh [<build folder of the library, default build/default>]
# None of the routes may need what only the library's own tests and benchmarks use: their
# packages are hidden from the consumer's configure.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build/default}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

hidden=(-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
        -DCMAKE_DISABLE_FIND_PACKAGE_PkgConfig=ON --no-warn-unused-cli -G Ninja)

echo "== install into $work/prefix"
cmake --install "$build" --prefix "$work/prefix" >/dev/null

echo "== each installed header compiles on its own"
include="$(dirname "$(find "$work/prefix" -type d -name ledgerline -path '*/include/*' | head -n 1)")"
while read -r header; do
  printf '#include <%s>\n' "${header#"$include/"}" |
    c++ -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror -I"$include" -x c++ - ||
    { echo "the installed header $header does not compile alone" >&2; exit 1; }
done < <(find "$include/ledgerline" -name '*.h' | sort)

echo "== find_package"
cmake -S "$here" -B "$work/package" -DCMAKE_PREFIX_PATH="$work/prefix" "${hidden[@]}" >/dev/null
cmake --build "$work/package" >/dev/null

echo "== find_package in the build tree"
cmake -S "$here" -B "$work/build-tree" -DLedgerline_DIR="$build" "${hidden[@]}" >/dev/null
cmake --build "$work/build-tree" >/dev/null

echo "== pkg-config"
mkdir -p "$work/pkg-config"
export PKG_CONFIG_PATH="$(dirname "$(find "$work/prefix" -name ledgerline.pc)")"
for program in ldgrenv ldgrgroups; do
  # shellcheck disable=SC2046 # the flags are words
  c++ -std=c++20 "$here/$program.cpp" -o "$work/pkg-config/$program" \
      $(pkg-config --cflags --libs ledgerline)
done

echo "== subproject"
cmake -S "$here" -B "$work/subproject" -DLEDGERLINE_SOURCE_DIR="$root" "${hidden[@]}" >/dev/null
cmake --build "$work/subproject" >/dev/null
for program in ldgrenv ldgrgroups; do
  [[ -x $work/subproject/$program ]] || { echo "the subproject build made no $program" >&2; exit 1; }
done
if [[ -e $work/subproject/ledgerline/GUI || -e $work/subproject/ledgerline/tests ]]; then
  echo "the subproject build made the library's programs or tests" >&2
  exit 1
fi

# The example environment of examples/demo.sh, in a prefix of each run's own.
run() {
  local binary=$1; shift
  export LDGR_PREFIX="$work/world" LDGR_USERNAME=alice LDGR_COMPUTERNAME=PC17
  rm -rf "$LDGR_PREFIX"
  mkdir -p "$LDGR_PREFIX/drive_c/Ledgerline/Data/users/alice"
  cp "$root/examples/Config.ini" "$LDGR_PREFIX/drive_c/Ledgerline/Config.ini"
  cp "$root/examples/registry.reg" "$LDGR_PREFIX/registry.reg"
  "$binary" "$@"
}
expect() {
  local pattern=$1 output=$2
  grep -qE "$pattern" <<<"$output" || { printf 'expected /%s/ in:\n%s\n' "$pattern" "$output" >&2; exit 1; }
}
for route in package build-tree pkg-config subproject; do
  echo "== run: $route"
  output="$(run "$work/$route/ldgrenv")"
  echo "$output"
  expect '^library +[0-9]+\.[0-9]+\.[0-9]+$' "$output"
  expect '^m_sUserName +alice$' "$output"
  expect '^m_sSharedConfigFile +C:\\Ledgerline\\Config\.ini$' "$output"
  output="$(run "$work/$route/ldgrgroups" "$root/examples/Config.ini")"
  echo "$output"
  expect '^version [0-9]+, [1-9][0-9]* printer groups?$' "$output"
done
echo "== every route built and ran"
