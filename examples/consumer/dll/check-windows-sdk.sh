#!/usr/bin/env bash
# Checks the SDK part of KorvaneIni.dll as a Windows build installs it: installs the build to a
# temporary prefix, builds readvalue.c against the installed header and libKorvaneIni.dll.a with
# the build's MinGW compiler, and a program calling the functions with clang and lld-link
# against KorvaneIni.lib, checks that each imports the DLL's three functions under their
# exported names, builds the example C++ programs against the SDK's CMake package, and (64-bit)
# runs them under Wine.
#   check-windows-sdk.sh BUILD_FOLDER     (a configured and built win32 or win64 preset)
# Exits 77 when the 64-bit programs cannot run because Wine is missing, 1 when
# LDGR_REQUIRE_WINE is set then too.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
build="$(cd "${1:?usage: check-windows-sdk.sh BUILD_FOLDER}" && pwd)"

cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
objdump="$(cached LDGR_OBJDUMP)"
triple="$(basename "${objdump%-objdump}")"
[[ -n "$triple" ]] || { echo "$build is not a Windows build folder" >&2; exit 1; }
cc="$triple-gcc"

# The program imports the DLL's three functions under their exported names, and from no other
# DLL than those given.
check_imports() {
    cmake -DOBJDUMP="$objdump" -DFILE="$1" -DEXPORTS= "-DIMPORTS=$2" -DFROM=KorvaneIni.dll \
        "-DNAMES=_OpenIni@4;_GetIniString@24;_CloseIni@4" -P "$root/cmake/CheckPeFile.cmake"
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for shipped in include/KorvaneIni.h lib/KorvaneIni.def lib/libKorvaneIni.dll.a lib/KorvaneIni.lib; do
    [[ -f "$prefix/sdk/$shipped" ]] || { echo "the install lacks sdk/$shipped" >&2; exit 1; }
done

# The header is C89, C99 and C++; the example is C89.
"$cc" -std=c99 -pedantic -Wall -Wextra -Werror -fsyntax-only -x c "$prefix/sdk/include/KorvaneIni.h"
"$triple-g++" -std=c++98 -pedantic -Wall -Wextra -Werror -fsyntax-only -x c++ \
    "$prefix/sdk/include/KorvaneIni.h"
program="$prefix/readvalue.exe"
"$cc" -std=c89 -pedantic -Wall -Wextra -Werror -I"$prefix/sdk/include" "$here/readvalue.c" \
    "$prefix/sdk/lib/libKorvaneIni.dll.a" -o "$program"
check_imports "$program" "KERNEL32.DLL;MSVCRT.DLL;KORVANEINI.DLL"

# KorvaneIni.lib as Microsoft's linker uses it: clang compiles for the Microsoft ABI and
# lld-link links, without a C runtime; the program's exit status is the count GetIniString
# returns for a key of suite.ini in the current folder.
if [[ "$triple" == x86_64-* ]]; then machine=x64; else machine=x86; fi
cat >"$work/calls.c" <<'CALLS'
#include "KorvaneIni.h"
int mainCRTStartup(void) {
    char value[64];
    int hIniFile = OpenIni("suite.ini");
    int count = GetIniString("printers", "default", "", value, (int)sizeof value, hIniFile);
    CloseIni(hIniFile);
    return count;
}
CALLS
clang --target="${triple%%-*}-pc-windows-msvc" -std=c89 -pedantic -Wall -Werror \
    -I"$prefix/sdk/include" -c "$work/calls.c" -o "$work/calls.obj"
lld-link /nologo /machine:$machine /nodefaultlib /entry:mainCRTStartup /subsystem:console \
    "$work/calls.obj" "$prefix/sdk/lib/KorvaneIni.lib" /out:"$prefix/calls.exe"
check_imports "$prefix/calls.exe" KORVANEINI.DLL

# The C++ library for MinGW programs: the example programs of the suite built against the
# SDK's CMake package with the build's own toolchain.
cmake -S "$root/examples/consumer" -B "$work/consumer" -G Ninja --no-warn-unused-cli \
    -DCMAKE_TOOLCHAIN_FILE="$(cached CMAKE_TOOLCHAIN_FILE)" \
    -DLedgerline_DIR="$prefix/sdk/lib/cmake/Ledgerline" >/dev/null
cmake --build "$work/consumer" >/dev/null

if [[ "$triple" != x86_64-* ]]; then
    echo "built and checked the 32-bit programs (they need a 32-bit Wine to run; not run)"
    exit 0
fi
if ! command -v wine >/dev/null; then
    [[ -z "${LDGR_REQUIRE_WINE:-}" ]] || { echo "LDGR_REQUIRE_WINE is set, but wine is missing" >&2; exit 1; }
    echo "wine is missing: the programs are not run"
    exit 77
fi
export WINEPREFIX="${WINEPREFIX:-$(cached LDGR_WINEPREFIX)}" WINEDEBUG=-all
printf '[Printers]\r\n  Default = \\\\srv\\lp1 \r\n' >"$work/suite.ini"
expected='\\srv\lp1'
value="$(wine "$program" "Z:${work//\//\\}\\suite.ini" printers default | tr -d '\r')"
[[ "$value" == "$expected" ]] || { echo "readvalue.exe read [$value], not [$expected]" >&2; exit 1; }
status=0
(cd "$work" && wine "$prefix/calls.exe") || status=$?
[[ $status == "${#expected}" ]] || { echo "calls.exe read $status characters, not ${#expected}" >&2; exit 1; }
groups="$(wine "$work/consumer/ldgrgroups.exe" "Z:${root//\//\\}\\examples\\Config.ini" | tr -d '\r')"
[[ "$groups" == "version 2, 2 printer groups"* ]] ||
    { printf 'ldgrgroups.exe printed:\n%s\n' "$groups" >&2; exit 1; }
echo "readvalue.exe and calls.exe read $value through KorvaneIni.dll; ldgrgroups.exe read ${groups%%$'\n'*}"
